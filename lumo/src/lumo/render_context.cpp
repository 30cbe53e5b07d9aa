#include "lumo/render_context.hpp"

#include <GL/glu.h>

namespace lumo {

RenderContext* currentRenderContext = nullptr;

GLenum qualityHint(short quality) {
    if (quality < 0)
        return GL_FASTEST;
    if (quality > 0)
        return GL_NICEST;
    return GL_DONT_CARE;
}

void RenderContext::apply() {
    currentRenderContext = this;
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    glShadeModel(shadeModel == smSmooth ? GL_SMOOTH : GL_FLAT);
    glHint(GL_FOG_HINT, qualityHint(qualityFog));
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, qualityHint(qualityPerspective));
    glHint(GL_POINT_SMOOTH_HINT, qualityHint(qualityPoints));
    glHint(GL_POLYGON_SMOOTH_HINT, qualityHint(qualityPolygons));
    if (lighting) {
        glEnable(GL_LIGHTING);
        glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 1.0f);
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL,
                      qualityLight < 1 ? GL_SINGLE_COLOR : GL_SEPARATE_SPECULAR_COLOR);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, &ambient.r);
    } else {
        glDisable(GL_LIGHTING);
    }
}

RenderContext2D::RenderContext2D()
    : virtualDimensions(currentViewport ? currentViewport->dimensions : Vector2D()) {}

RenderContext2D::RenderContext2D(const Vector2D& dimensions) : virtualDimensions(dimensions) {}

void RenderContext2D::apply() {
    RenderContext::apply();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, virtualDimensions.x, 0, virtualDimensions.y);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    if (blending) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
    glDisable(GL_NORMALIZE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
}

void RenderContext3D::apply() {
    RenderContext::apply();
    glClearDepth(clearDepth);
    if (depthTest)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_NORMALIZE);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    if (fogModel == fmNone) {
        glDisable(GL_FOG);
        return;
    }
    const GLint mode = fogModel == fmExponential    ? GL_EXP
                       : fogModel == fmExponential2 ? GL_EXP2
                                                    : GL_LINEAR;
    glFogi(GL_FOG_MODE, mode);
    glFogf(GL_FOG_START, fogStart);
    glFogf(GL_FOG_END, fogEnd);
    glFogf(GL_FOG_DENSITY, fogDensity);
    glFogfv(GL_FOG_COLOR, &fogColor.r);
    glHint(GL_FOG_HINT, qualityHint(qualityFog));
    glEnable(GL_FOG);
}

}  // namespace lumo
