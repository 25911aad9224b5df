#include "picture/pipeline.h"

#include "picture/filters.h"

int lastRotation = 0;

int processLoaded(PictureBuffer& picture, const PipelineOptions& options) {
    if (options.use24bit) picture.convertTo24();
    lastRotation =
        options.transform == 0 ? 0 : applyTransform(picture, options.transform, options.shapeRule);
    if (options.filter != 0) applyFilter(picture, options.filter);
    return lastRotation;
}
