// row_cells.h - the texts of one catalog row's cells, kept in one block.
//
// A list file holds hundreds of thousands of cells; keeping each row's texts
// back to back, with where each one ends, costs one allocation per row where a
// string per cell would cost one per cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class RowCells {
public:
    // The cells' texts in order, as views into the row.
    class const_iterator {
    public:
        const_iterator(const RowCells* cells, std::size_t at) : cells_(cells), at_(at) {}
        std::string_view operator*() const { return (*cells_)[at_]; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        const RowCells* cells_;
        std::size_t at_;
    };

    RowCells() = default;
    RowCells(std::initializer_list<std::string_view> texts);
    // Not explicit: rows are made from lists of strings.
    RowCells(const std::vector<std::string>& texts);

    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t p) const {
        std::size_t begin = p == 0 ? 0 : ends_[p - 1];
        return std::string_view(texts_).substr(begin, ends_[p] - begin);
    }
    // Every cell's text back to back, for looking through a whole row at once.
    std::string_view joined() const { return texts_; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void push_back(std::string_view text);
    // Gives cell p the text `text` (which may be another cell's).
    void set(std::size_t p, std::string_view text);
    // Drops cells from the end, or adds empty ones.
    void resize(std::size_t count);
    // Empties the row, keeping the memory for the next texts.
    void clear();

    bool operator==(const RowCells& other) const = default;

private:
    std::string texts_;
    std::vector<std::uint32_t> ends_; // cell p is texts_[ends_[p - 1], ends_[p])
};
