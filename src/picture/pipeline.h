// pipeline.h - what every picture passes once when it becomes visible.
#pragma once

#include "picture/picture_buffer.h"
#include "picture/transform.h"

// The settings the pipeline reads, gathered by the caller from the current
// mode: the 24bit option, TRANSFORM, FILTER, and the shape rule (1 in normal
// mode, the mihiraki value in two-page mode).
struct PipelineOptions {
    int use24bit = 0;
    int transform = 0;
    int filter = 0;
    int shapeRule = 1;
    bool operator==(const PipelineOptions&) const = default;
};

// Written by every processLoaded: 0 no turn, 1 clockwise, 2 anticlockwise.
extern int lastRotation;

// 24-bit conversion if asked, then the transform, then the filter. Sets and
// returns lastRotation.
int processLoaded(PictureBuffer& picture, const PipelineOptions& options);
