// Port: the progress bar that long CAD commands show while they run.
#pragma once

#include <cstdint>

namespace plyscan {

class ProgressDisplay {
 public:
  virtual void SetVisible(bool visible) = 0;
  virtual void SetMax(std::int32_t max) = 0;
  virtual std::int32_t Position() const = 0;
  virtual void SetPosition(std::int32_t position) = 0;

 protected:
  // A display is handed to a command by reference, never owned through this.
  ~ProgressDisplay() = default;
};

}  // namespace plyscan
