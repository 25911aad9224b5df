# MuPDF as Debian ships it: static archives whose own dependencies are named
# only among the private libraries of mupdf.pc. A test link tells whether all
# of them are installed; when they are, voxa_mupdf is the target to link.
pkg_check_modules(MUPDF QUIET mupdf)
if(MUPDF_FOUND AND NOT TARGET voxa_mupdf)
  include(CheckCSourceCompiles)
  set(CMAKE_REQUIRED_INCLUDES ${MUPDF_INCLUDE_DIRS})
  set(CMAKE_REQUIRED_LIBRARIES ${MUPDF_STATIC_LDFLAGS})
  set(CMAKE_REQUIRED_QUIET ON)
  check_c_source_compiles([[
    #include <mupdf/fitz.h>
    #include <mupdf/pdf.h>
    int main(void) {
      fz_context *ctx = fz_new_context(0, 0, FZ_STORE_DEFAULT);
      pdf_document *doc = pdf_open_document(ctx, "none.pdf");
      fz_page *page = fz_load_page(ctx, &doc->super, 0);
      fz_pixmap *pixmap = fz_new_pixmap(ctx, fz_device_bgr(ctx), 1, 1, 0, 0);
      fz_device *device = fz_new_draw_device(ctx, fz_identity, pixmap);
      fz_run_page(ctx, page, device, fz_identity, 0);
      return 0;
    }]] VOXA_MUPDF_LINKS)
  unset(CMAKE_REQUIRED_INCLUDES)
  unset(CMAKE_REQUIRED_LIBRARIES)
  unset(CMAKE_REQUIRED_QUIET)
  if(VOXA_MUPDF_LINKS)
    add_library(voxa_mupdf INTERFACE IMPORTED GLOBAL)
    target_include_directories(voxa_mupdf INTERFACE ${MUPDF_INCLUDE_DIRS})
    target_link_libraries(voxa_mupdf INTERFACE ${MUPDF_STATIC_LDFLAGS})
  endif()
endif()
