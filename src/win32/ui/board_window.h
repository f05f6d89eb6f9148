// The board's host: the program's own "TDrawGrid" window of a draw grid,
// whose messages go to its DrawGridPeer first. It takes its own keys and
// tells in its tip about the cell under the pointer.
#pragma once

#include <memory>

#include "win32/ui/control_window.h"
#include "win32/ui/draw_grid_peer.h"

namespace plyscan::win32 {

class BoardWindow final : public OwnClassControl {
 public:
  using OwnClassControl::OwnClassControl;

  bool TakesOwnKeys() const noexcept override;
  bool HintFollowsPointer() const noexcept override;
  Text PointerHint() const override;

 private:
  void Describe(CreateArgs& args) const override;
  void OnCreated() override;
  void OnDpiChanged(UINT dpi) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  std::unique_ptr<DrawGridPeer> grid_;
};

}  // namespace plyscan::win32
