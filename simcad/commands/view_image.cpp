#include "simcad/commands/view_image.h"

#include "simcad/drawing/render.h"

namespace simcad {

std::string ViewAsBmp(const Drawing& drawing) {
  const std::vector<std::uint8_t> bytes = BmpBytes(RenderView(drawing));
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace simcad
