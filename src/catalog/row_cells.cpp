#include "catalog/row_cells.h"

RowCells::RowCells(std::initializer_list<std::string_view> texts) {
    ends_.reserve(texts.size());
    for (std::string_view text : texts) push_back(text);
}

RowCells::RowCells(const std::vector<std::string>& texts) {
    std::size_t bytes = 0;
    for (const std::string& text : texts) bytes += text.size();
    texts_.reserve(bytes);
    ends_.reserve(texts.size());
    for (const std::string& text : texts) push_back(text);
}

void RowCells::push_back(std::string_view text) {
    texts_ += text;
    ends_.push_back(std::uint32_t(texts_.size()));
}

void RowCells::set(std::size_t p, std::string_view text) {
    std::size_t begin = p == 0 ? 0 : ends_[p - 1], oldSize = ends_[p] - begin;
    texts_.replace(begin, oldSize, text.data(), text.size());
    // Unsigned wrap-around shifts the later ends down as well as up.
    std::uint32_t shift = std::uint32_t(text.size() - oldSize);
    for (std::size_t q = p; q < ends_.size(); ++q) ends_[q] += shift;
}

void RowCells::resize(std::size_t count) {
    if (count < ends_.size()) {
        ends_.resize(count);
        texts_.resize(count == 0 ? 0 : ends_.back());
    } else {
        ends_.resize(count, std::uint32_t(texts_.size()));
    }
}

void RowCells::clear() {
    texts_.clear();
    ends_.clear();
}
