// pdf_writer.cpp - pages built with MuPDF's document editing calls.
#include "sample_book/pdf_writer.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace encoders {

namespace {

// The image of `page` as an fz_image, or null when it has none.
fz_image* pageImage(fz_context* ctx, const PdfPage& page) {
    if (!page.jpeg.empty()) {
        fz_buffer* buffer = fz_new_buffer_from_copied_data(
            ctx, reinterpret_cast<const unsigned char*>(page.jpeg.data()), page.jpeg.size());
        fz_image* image = nullptr;
        fz_var(image);
        fz_try(ctx) image = fz_new_image_from_buffer(ctx, buffer);
        fz_always(ctx) fz_drop_buffer(ctx, buffer);
        fz_catch(ctx) fz_rethrow(ctx);
        return image;
    }
    if (page.picture.pixels.empty()) return nullptr;
    const Picture& p = page.picture;
    fz_pixmap* pixmap = fz_new_pixmap(ctx, fz_device_rgb(ctx), p.width, p.height, nullptr, 0);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(pixmap->samples + size_t(y) * size_t(pixmap->stride), &p.pixels[size_t(y) * size_t(p.width) * 3],
                    size_t(p.width) * 3);
    fz_image* image = nullptr;
    fz_var(image);
    fz_try(ctx) image = fz_new_image_from_pixmap(ctx, pixmap, nullptr);
    fz_always(ctx) fz_drop_pixmap(ctx, pixmap);
    fz_catch(ctx) fz_rethrow(ctx);
    return image;
}

// The content stream of `page`: its own, or its image filling the media box.
std::string contentsOf(const PdfPage& page, bool hasImage) {
    if (!page.contents.empty() || !hasImage) return page.contents;
    char fill[128];
    std::snprintf(fill, sizeof fill, "q %g 0 0 %g 0 0 cm /Im0 Do Q\n", page.width, page.height);
    return fill;
}

// No C++ object lives inside the fz_try blocks: MuPDF leaves them by longjmp.
void addPage(fz_context* ctx, pdf_document* doc, const PdfPage& page) {
    fz_image* image = pageImage(ctx, page);
    const std::string text = contentsOf(page, image != nullptr);
    pdf_obj* resources = nullptr;
    fz_buffer* contents = nullptr;
    fz_var(resources);
    fz_var(contents);
    fz_try(ctx) {
        resources = pdf_new_dict(ctx, doc, 1);
        if (image) {
            pdf_obj* xobjects = pdf_dict_puts_dict(ctx, resources, "XObject", 1);
            pdf_dict_puts_drop(ctx, xobjects, "Im0", pdf_add_image(ctx, doc, image));
        }
        contents = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char*>(text.data()),
                                                  text.size());
        fz_rect box = fz_make_rect(0, 0, float(page.width), float(page.height));
        pdf_obj* object = pdf_add_page(ctx, doc, box, page.rotate, resources, contents);
        pdf_insert_page(ctx, doc, -1, object);
        pdf_drop_obj(ctx, object);
    }
    fz_always(ctx) {
        fz_drop_buffer(ctx, contents);
        pdf_drop_obj(ctx, resources);
        fz_drop_image(ctx, image);
    }
    fz_catch(ctx) fz_rethrow(ctx);
}

} // namespace

std::string writePdf(const std::vector<PdfPage>& pages, const std::string& userPassword) {
    fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!ctx) throw std::runtime_error("PDF writing: no context");
    pdf_document* doc = nullptr;
    fz_buffer* buffer = nullptr;
    fz_output* out = nullptr;
    std::string bytes;
    volatile bool failed = false;
    fz_var(doc);
    fz_var(buffer);
    fz_var(out);
    fz_try(ctx) {
        doc = pdf_create_document(ctx);
        for (const PdfPage& page : pages) addPage(ctx, doc, page);
        pdf_write_options options = pdf_default_write_options;
        options.do_compress = 1;
        if (!userPassword.empty()) {
            options.do_encrypt = PDF_ENCRYPT_AES_256;
            std::snprintf(options.upwd_utf8, sizeof options.upwd_utf8, "%s", userPassword.c_str());
            std::snprintf(options.opwd_utf8, sizeof options.opwd_utf8, "%s-owner", userPassword.c_str());
        }
        buffer = fz_new_buffer(ctx, 1 << 16);
        out = fz_new_output_with_buffer(ctx, buffer);
        pdf_write_document(ctx, doc, out, &options);
        fz_close_output(ctx, out);
    }
    fz_catch(ctx) failed = true;
    if (!failed) {
        unsigned char* data = nullptr;
        size_t size = fz_buffer_storage(ctx, buffer, &data);
        bytes.assign(reinterpret_cast<const char*>(data), size);
    }
    fz_drop_output(ctx, out);
    fz_drop_buffer(ctx, buffer);
    pdf_drop_document(ctx, doc);
    fz_drop_context(ctx);
    if (failed) throw std::runtime_error("PDF writing failed");
    return bytes;
}

} // namespace encoders
