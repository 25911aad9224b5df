// pdf_book.cpp - MuPDF behind the book: one context and document per call.
//
// MuPDF reports errors by longjmp (fz_try / fz_catch), which skips C++
// destructors; so no C++ object is alive inside a fz_try block, and locals
// changed inside one are declared with fz_var.
#include "pdf/pdf_book.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

#include <unistd.h>

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include "common/book_listing.h"
#include "common/plugin_io.h"
#include "pdf/render_deadline.h"
#include "pdf/scanned_page.h"

namespace {

// A scanned page's content stream is a few dozen bytes; a longer one is
// taken for a page with more on it.
constexpr size_t kMaxScanContents = 1024;

void quiet(void*, const char*) {}

// What the listing and the extraction both need to know about a page, found
// the same way by both, so the listed size is the extracted one.
struct PageFacts {
    int imageNumber = 0;   // the scanned page's image object, 0 for a page to render
    uint32_t jpegSize = 0; // the bytes of that image's JPEG
    int width = 0;         // the rendered size, 0 when the page has no area
    int height = 0;
};

struct Session {
    fz_context* ctx = nullptr;
    std::FILE* file = nullptr; // read by the document as long as it lives
    pdf_document* doc = nullptr;
    int result = SPI_ALL_RIGHT; // why there is no document

    explicit Session(const PdfSource& source);
    ~Session() {
        if (ctx) pdf_drop_document(ctx, doc);
        fz_drop_context(ctx);
        if (file) std::fclose(file);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// The document read from memory, or from `file`.
pdf_document* openDocument(fz_context* ctx, const PdfSource& source, std::FILE* file) {
    pdf_document* doc = nullptr;
    fz_stream* stream = nullptr;
    fz_var(doc);
    fz_var(stream);
    fz_try(ctx) {
        stream = source.data ? fz_open_memory(ctx, source.data, source.size) : fz_open_file_ptr_no_close(ctx, file);
        doc = pdf_open_document_with_stream(ctx, stream);
    }
    fz_always(ctx) fz_drop_stream(ctx, stream);
    fz_catch(ctx) return nullptr;
    return doc;
}

Session::Session(const PdfSource& source) {
    if (!source.data) {
        // Regular files only: a FIFO or a device named .pdf is not read.
        uint64_t size = 0;
        int fd = source.fileName ? spi::openRegularFile(source.fileName, size) : -1;
        file = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
        if (!file) {
            if (fd >= 0) ::close(fd);
            result = SPI_FILE_READ_ERROR;
            return;
        }
    }
    ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx) {
        result = SPI_NO_MEMORY;
        return;
    }
    fz_set_warning_callback(ctx, quiet, nullptr);
    fz_set_error_callback(ctx, quiet, nullptr);
    doc = openDocument(ctx, source, file);
    if (!doc) {
        result = SPI_OUT_OF_ORDER;
    } else if (pdf_needs_password(ctx, doc)) {
        // MuPDF has tried the empty password already; no other is known.
        pdf_drop_document(ctx, doc);
        doc = nullptr;
        result = SPI_NOT_SUPPORT;
    }
}

// The pages that can be listed: -1 when the page tree is unreadable.
int pageCount(const Session& s) {
    int count = -1;
    fz_var(count);
    fz_try(s.ctx) count = pdf_count_pages(s.ctx, s.doc);
    fz_catch(s.ctx) count = -1;
    return std::min(count, int(spi::kMaxBookPages));
}

// Fits the page's box (in device space) to `pageHeight` pixels high, or to
// the widest DIB for a page much wider than high.
void renderSize(fz_rect bounds, int pageHeight, PageFacts& facts) {
    const double width = double(bounds.x1) - double(bounds.x0), height = double(bounds.y1) - double(bounds.y0);
    if (!(width > 0 && height > 0) || !std::isfinite(width / height)) return;
    const double wide = pageHeight * width / height;
    if (wide <= spi::kMaxDibSide) {
        facts.height = pageHeight;
        facts.width = std::max(1, int(std::lround(wide)));
    } else {
        facts.width = spi::kMaxDibSide;
        facts.height = std::max(1, int(std::lround(spi::kMaxDibSide * height / width)));
    }
}

// The first bytes of the page's only content stream; more than `capacity` - 1
// means it is no bare image draw.
size_t readContents(fz_context* ctx, pdf_obj* page, char* text, size_t capacity) {
    pdf_obj* contents = pdf_dict_get(ctx, page, PDF_NAME(Contents));
    if (pdf_is_array(ctx, contents)) {
        if (pdf_array_len(ctx, contents) != 1) return capacity;
        contents = pdf_array_get(ctx, contents, 0);
    }
    if (!pdf_is_stream(ctx, contents)) return capacity;
    fz_stream* stream = pdf_open_stream(ctx, contents);
    size_t count = 0;
    fz_var(count);
    fz_try(ctx) count = fz_read(ctx, stream, reinterpret_cast<unsigned char*>(text), capacity);
    fz_always(ctx) fz_drop_stream(ctx, stream);
    fz_catch(ctx) fz_rethrow(ctx);
    return count;
}

bool isName(fz_context* ctx, pdf_obj* value, pdf_obj* name) {
    return pdf_is_name(ctx, value) && pdf_name_eq(ctx, value, name);
}

// An image the JPEG alone shows as the page does: 8-bit grey or RGB, no
// masks, no decode ranges, no parameters, DCTDecode as its only filter.
bool isPlainJpegImage(fz_context* ctx, pdf_obj* image) {
    if (!pdf_is_stream(ctx, image) || !isName(ctx, pdf_dict_get(ctx, image, PDF_NAME(Subtype)), PDF_NAME(Image)))
        return false;
    pdf_obj* filter = pdf_dict_get(ctx, image, PDF_NAME(Filter));
    if (pdf_is_array(ctx, filter)) filter = pdf_array_len(ctx, filter) == 1 ? pdf_array_get(ctx, filter, 0) : nullptr;
    if (!isName(ctx, filter, PDF_NAME(DCTDecode))) return false;
    for (pdf_obj* key : {PDF_NAME(DecodeParms), PDF_NAME(Mask), PDF_NAME(SMask), PDF_NAME(Decode)})
        if (pdf_dict_get(ctx, image, key)) return false;
    if (pdf_dict_get_bool(ctx, image, PDF_NAME(ImageMask))) return false;
    if (pdf_dict_get_int(ctx, image, PDF_NAME(BitsPerComponent)) != 8) return false;
    pdf_obj* space = pdf_dict_get(ctx, image, PDF_NAME(ColorSpace));
    if (isName(ctx, space, PDF_NAME(DeviceRGB)) || isName(ctx, space, PDF_NAME(DeviceGray))) return true;
    // An ICC profile the JPEG would be shown without: only its channel count matters.
    if (pdf_is_array(ctx, space) && pdf_array_len(ctx, space) == 2 &&
        isName(ctx, pdf_array_get(ctx, space, 0), PDF_NAME(ICCBased))) {
        int channels = pdf_dict_get_int(ctx, pdf_array_get(ctx, space, 1), PDF_NAME(N));
        return channels == 1 || channels == 3;
    }
    return false;
}

// The byte count of the image's JPEG, 0 when its data does not start like a
// JPEG. The dictionary's /Length is the count, except in an encrypted file
// (its key opened it with the empty password), where decryption changes it.
uint32_t jpegSizeOf(fz_context* ctx, pdf_document* doc, pdf_obj* image) {
    const bool encrypted = doc->crypt != nullptr;
    int64_t size = encrypted ? 0 : pdf_to_int64(ctx, pdf_dict_get(ctx, image, PDF_NAME(Length)));
    unsigned char head[3] = {};
    size_t known = 0;
    fz_var(size);
    fz_var(known);
    if (encrypted) {
        fz_buffer* buffer = pdf_load_raw_stream(ctx, image);
        unsigned char* data = nullptr;
        size = int64_t(fz_buffer_storage(ctx, buffer, &data));
        known = std::min<size_t>(size_t(size), sizeof head);
        std::memcpy(head, data, known);
        fz_drop_buffer(ctx, buffer);
    } else {
        fz_stream* stream = pdf_open_raw_stream(ctx, image);
        fz_try(ctx) known = fz_read(ctx, stream, head, sizeof head);
        fz_always(ctx) fz_drop_stream(ctx, stream);
        fz_catch(ctx) fz_rethrow(ctx);
    }
    if (known < 3 || head[0] != 0xFF || head[1] != 0xD8 || head[2] != 0xFF) return 0;
    return size > 0 && size <= int64_t(UINT32_MAX) ? uint32_t(size) : 0;
}

// Fills facts.imageNumber and facts.jpegSize when the page is a scan.
void findScan(fz_context* ctx, pdf_document* doc, pdf_obj* page, fz_rect box, fz_matrix ctm, PageFacts& facts) {
    // A turned page (a quarter turn, or upside down: the page's y axis runs
    // down the screen only when it is upright) would show its JPEG unturned.
    if (ctm.b != 0 || ctm.c != 0 || ctm.a <= 0 || ctm.d >= 0) return;
    char text[kMaxScanContents + 1];
    size_t length = readContents(ctx, page, text, sizeof text);
    ImageDraw draw;
    if (length > kMaxScanContents || !parseSingleImageDraw(text, length, draw)) return;
    pdf_obj* resources = pdf_dict_get_inheritable(ctx, page, PDF_NAME(Resources));
    pdf_obj* image = pdf_dict_gets(ctx, pdf_dict_get(ctx, resources, PDF_NAME(XObject)), draw.name);
    if (!isPlainJpegImage(ctx, image)) return;
    PdfBox pageBox{box.x0, box.y0, box.x1, box.y1};
    if (!fillsBoxUpright(draw.matrix, pageBox, pdf_dict_get_int(ctx, image, PDF_NAME(Width)),
                         pdf_dict_get_int(ctx, image, PDF_NAME(Height))))
        return;
    facts.jpegSize = jpegSizeOf(ctx, doc, image);
    if (facts.jpegSize) facts.imageNumber = pdf_to_num(ctx, image);
}

// The facts of page `index`; false when the page cannot be read at all.
bool describePage(const Session& s, int index, int pageHeight, PageFacts& facts) {
    fz_context* ctx = s.ctx;
    facts = PageFacts{};
    bool read = true;
    fz_var(read);
    fz_try(ctx) {
        pdf_obj* page = pdf_lookup_page_obj(ctx, s.doc, index);
        fz_rect box;
        fz_matrix ctm;
        pdf_page_obj_transform(ctx, page, &box, &ctm);
        renderSize(fz_transform_rect(box, ctm), pageHeight, facts);
        findScan(ctx, s.doc, page, box, ctm, facts);
    }
    fz_catch(ctx) read = false;
    return read;
}

int copyJpeg(const Session& s, const PageFacts& facts, SpiHandle* out) {
    fz_context* ctx = s.ctx;
    fz_buffer* buffer = nullptr;
    SpiHandle block = nullptr;
    fz_var(buffer);
    fz_var(block);
    fz_try(ctx) {
        buffer = pdf_load_raw_stream_number(ctx, s.doc, facts.imageNumber);
        unsigned char* data = nullptr;
        size_t size = fz_buffer_storage(ctx, buffer, &data);
        // A stream shorter or longer than its /Length said is a broken file.
        if (size == facts.jpegSize) {
            block = spiAlloc(size);
            if (block) std::memcpy(spiLock(block), data, size);
        }
    }
    fz_always(ctx) fz_drop_buffer(ctx, buffer);
    fz_catch(ctx) {
        spiFree(block);
        return SPI_OUT_OF_ORDER;
    }
    if (!block) return SPI_OUT_OF_ORDER;
    *out = block;
    return SPI_ALL_RIGHT;
}

// Draws page `index` top-down into the DIB's pixels, white first.
int drawPage(const Session& s, int index, const PageFacts& facts, spi::DibOutput& dib, fz_cookie& cookie) {
    fz_context* ctx = s.ctx;
    fz_page* page = nullptr;
    fz_pixmap* pixmap = nullptr;
    fz_device* device = nullptr;
    fz_var(page);
    fz_var(pixmap);
    fz_var(device);
    fz_try(ctx) {
        page = fz_load_page(ctx, &s.doc->super, index);
        fz_rect bounds = fz_bound_page(ctx, page);
        fz_matrix fit = fz_concat(fz_translate(-bounds.x0, -bounds.y0),
                                  fz_scale(float(facts.width) / (bounds.x1 - bounds.x0),
                                           float(facts.height) / (bounds.y1 - bounds.y0)));
        pixmap = fz_new_pixmap_with_data(ctx, fz_device_bgr(ctx), facts.width, facts.height, nullptr, 0,
                                         int(dib.stride), dib.pixels);
        fz_clear_pixmap_with_value(ctx, pixmap, 255);
        device = fz_new_draw_device(ctx, fz_identity, pixmap);
        fz_run_page(ctx, page, device, fit, &cookie);
        fz_close_device(ctx, device);
    }
    fz_always(ctx) {
        fz_drop_device(ctx, device);
        fz_drop_pixmap(ctx, pixmap); // the samples stay: they are the DIB's
        fz_drop_page(ctx, page);
    }
    fz_catch(ctx) return SPI_OUT_OF_ORDER;
    return cookie.abort ? SPI_OTHER_ERROR : SPI_ALL_RIGHT;
}

int renderPage(const Session& s, int index, const PageFacts& facts, const PdfBookOptions& options,
               SpiHandle* out) {
    spi::DibOutput dib;
    int result = spi::createBmpFile(facts.width, facts.height, 24, 0, dib);
    if (result != SPI_ALL_RIGHT) return result;
    fz_cookie cookie{};
    try {
        RenderDeadline deadline(cookie, options.renderLimit);
        result = drawPage(s, index, facts, dib, cookie);
    } catch (const std::system_error&) { // no thread to watch the render: it is not started
        result = SPI_OTHER_ERROR;
    }
    if (result != SPI_ALL_RIGHT) return result;
    spi::flipToBottomUp(dib, false);
    return spi::handOverFile(dib, out);
}

} // namespace

int isPdf(const unsigned char* head, size_t size) {
    size_t scan = std::min<size_t>(size, 1024);
    for (size_t at = 0; at + 5 <= scan; ++at)
        if (std::memcmp(head + at, "%PDF-", 5) == 0) return 1;
    return 0;
}

int listPdfBook(const PdfSource& source, const PdfBookOptions& options, SpiHandle* listing) {
    if (!listing) return SPI_MEMORY_ERROR;
    Session session(source);
    if (!session.doc) return session.result;
    const int count = pageCount(session);
    if (count <= 0) return SPI_OUT_OF_ORDER;
    std::vector<spi::BookPage> pages(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        PageFacts facts;
        spi::BookPage& page = pages[size_t(i)];
        page.position = uint32_t(i);
        // An unreadable page is still listed, with no size: its extraction
        // fails and the viewer says so when it gets there.
        if (!describePage(session, i, options.pageHeight, facts)) continue;
        if (facts.imageNumber) {
            page.size = facts.jpegSize;
            page.extension = ".jpg";
        } else if (facts.width) {
            page.size = uint32_t(spi::bmpFileSize(facts.width, facts.height, 24, 0));
        }
    }
    return spi::handOverBookListing(pages, "PDF", listing);
}

int extractPdfPage(const PdfSource& source, long position, const PdfBookOptions& options, SpiHandle* page) {
    if (!page) return SPI_MEMORY_ERROR;
    Session session(source);
    if (!session.doc) return session.result;
    if (position < 0 || position >= pageCount(session)) return SPI_OUT_OF_ORDER;
    PageFacts facts;
    if (!describePage(session, int(position), options.pageHeight, facts)) return SPI_OUT_OF_ORDER;
    if (facts.imageNumber) return copyJpeg(session, facts, page);
    if (!facts.width) return SPI_OUT_OF_ORDER;
    return renderPage(session, int(position), facts, options, page);
}
