#include "gui/core/window_scale.hpp"

#include "lumo/render_context.hpp"
#include "lumo/types.hpp"

namespace lumo {
namespace gui {

WindowScale windowScale() {
    WindowScale w;
    const RenderContext2D* context = dynamic_cast<const RenderContext2D*>(currentRenderContext);
    const Viewport* vp = currentViewport ? currentViewport : &vpScreen;
    if (!context || context->virtualDimensions.x <= 0 || context->virtualDimensions.y <= 0 ||
        vp->dimensions.x <= 0 || vp->dimensions.y <= 0)
        return w;
    w.converted = true;
    w.scale = Vector2D(vp->dimensions.x / context->virtualDimensions.x,
                       vp->dimensions.y / context->virtualDimensions.y);
    w.origin = vp->pos;
    w.top = vpScreen.dimensions.y - (vp->pos.y + vp->dimensions.y);
    w.height = context->virtualDimensions.y;
    return w;
}

}  // namespace gui
}  // namespace lumo
