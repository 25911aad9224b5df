// jxl_encoder.cpp - libjxl's encoder over 8-bit pictures.
#include "sample_book/jxl_encoder.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include <jxl/encode.h>

namespace encoders {

namespace {

void check(JxlEncoderStatus status, const char* what) {
    if (status != JXL_ENC_SUCCESS) throw std::runtime_error(std::string("JPEG XL encoding: ") + what);
}

} // namespace

std::string encodeJxl(const Picture& picture, const JxlOptions& options) {
    std::unique_ptr<JxlEncoder, decltype(&JxlEncoderDestroy)> owner(JxlEncoderCreate(nullptr), JxlEncoderDestroy);
    JxlEncoder* encoder = owner.get();
    const bool alpha = picture.channels == 2 || picture.channels == 4;
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(picture.width);
    info.ysize = uint32_t(picture.height);
    info.bits_per_sample = uint32_t(options.bitsPerSample);
    info.num_color_channels = picture.channels <= 2 ? 1 : 3;
    info.num_extra_channels = alpha ? 1 : 0;
    info.alpha_bits = alpha ? uint32_t(options.bitsPerSample) : 0;
    info.uses_original_profile = options.lossless ? JXL_TRUE : JXL_FALSE;
    info.orientation = JxlOrientation(options.orientation);
    check(JxlEncoderUseContainer(encoder, options.container), "container");
    check(JxlEncoderSetBasicInfo(encoder, &info), "basic info");
    JxlColorEncoding colour;
    if (options.linearLight)
        JxlColorEncodingSetToLinearSRGB(&colour, info.num_color_channels == 1);
    else
        JxlColorEncodingSetToSRGB(&colour, info.num_color_channels == 1);
    check(JxlEncoderSetColorEncoding(encoder, &colour), "colour encoding");

    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    check(JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, options.effort), "effort");
    if (options.lossless)
        check(JxlEncoderSetFrameLossless(settings, JXL_TRUE), "lossless");
    else
        check(JxlEncoderSetFrameDistance(settings, options.distance), "distance");

    JxlPixelFormat format{uint32_t(picture.channels), options.bitsPerSample == 16 ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8,
                          JXL_NATIVE_ENDIAN, 0};
    std::vector<std::uint16_t> wide;
    const void* samples = picture.pixels.data();
    size_t sampleBytes = picture.pixels.size();
    if (options.bitsPerSample == 16) {
        for (std::uint8_t v : picture.pixels) wide.push_back(std::uint16_t(v * 257));
        samples = wide.data();
        sampleBytes = wide.size() * 2;
    }
    check(JxlEncoderAddImageFrame(settings, &format, samples, sampleBytes), "frame");
    JxlEncoderCloseInput(encoder);

    std::vector<std::uint8_t> out(4096);
    std::uint8_t* next = out.data();
    size_t avail = out.size();
    for (;;) {
        JxlEncoderStatus status = JxlEncoderProcessOutput(encoder, &next, &avail);
        if (status == JXL_ENC_SUCCESS) break;
        if (status != JXL_ENC_NEED_MORE_OUTPUT) check(status, "output");
        size_t used = size_t(next - out.data());
        out.resize(out.size() * 2);
        next = out.data() + used;
        avail = out.size() - used;
    }
    return std::string(reinterpret_cast<const char*>(out.data()), size_t(next - out.data()));
}

} // namespace encoders
