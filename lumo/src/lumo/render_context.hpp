#pragma once
// Bundles of OpenGL state for 2D and 3D drawing. apply() sets the whole bundle at once, so a
// piece of drawing code never depends on what the previous one left behind. Main thread only.

#include <GL/gl.h>

#include "lumo/types.hpp"
#include "math/vector.hpp"

namespace lumo {

enum ShadeModel { smFlat = 0, smSmooth = 1 };
enum FogModel { fmNone = 0, fmLinear = 1, fmExponential = 2, fmExponential2 = 3 };

/// The OpenGL hint for a quality value: negative gives GL_FASTEST, positive GL_NICEST, 0
/// GL_DONT_CARE.
GLenum qualityHint(short quality);

/// State shared by 2D and 3D drawing: polygon mode, shading, hints and lighting.
class RenderContext {
  public:
    virtual ~RenderContext() = default;
    /// Makes this the `currentRenderContext` and sets its OpenGL state.
    virtual void apply();

    bool wireframe = false;
    ShadeModel shadeModel = smFlat;
    short qualityFog = 0;
    short qualityPerspective = 0;
    short qualityPoints = 0;
    short qualityPolygons = 0;
    /// Below 1: one colour for lighting; from 1 on: specular colour kept separate (applied
    /// after texturing). Only read when `lighting` is on; starts at 0 like the other qualities.
    short qualityLight = 0;
    bool lighting = false;
    Color ambient{0.2f, 0.2f, 0.2f, 0.1f};
};

/// 2D drawing in virtual units: (0, 0) is the lower left of the viewport and
/// `virtualDimensions` its upper right, whatever the viewport's size in pixels.
class RenderContext2D : public RenderContext {
  public:
    /// Takes the dimensions of `currentViewport`, or (0, 0) when there is none yet.
    RenderContext2D();
    explicit RenderContext2D(const Vector2D& virtualDimensions);
    void apply() override;

    Vector2D virtualDimensions;
    /// Alpha blending (source alpha, one minus source alpha) when set.
    bool blending = false;
};

/// 3D drawing: depth test, back-face culling, normalisation and fog. Leaves the projection
/// matrix to the caller.
class RenderContext3D : public RenderContext {
  public:
    void apply() override;

    bool depthTest = true;
    /// OpenGL clamps it to 1.
    GLfloat clearDepth = 10000.0f;
    FogModel fogModel = fmNone;
    GLfloat fogStart = 0;
    GLfloat fogEnd = 0;
    GLfloat fogDensity = 0;
    /// The fog hint used while this context's fog is on (hides the base field of that name).
    short qualityFog = 0;
    Color fogColor{0, 0, 0, 0};
};

/// The render context applied last, or null; not owned.
extern RenderContext* currentRenderContext;

}  // namespace lumo
