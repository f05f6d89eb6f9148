// Base of simcad's automation objects. Beyond the portable automation
// interface, each object names the members it answers to (the COM server
// hands out DISPIDs for them and refuses any other name), and the live
// objects are counted so that tests can see every reference released.
#pragma once

#include <atomic>
#include <span>
#include <string_view>

#include "cadlink/automation.h"

namespace simcad {

class SimObject : public plyscan::automation::Object {
 public:
  SimObject() { ++live_; }
  SimObject(const SimObject&) = delete;
  SimObject& operator=(const SimObject&) = delete;
  ~SimObject() override { --live_; }

  // The member names this object answers to, matched without regard to case.
  virtual std::span<const std::u16string_view> Members() const = 0;
  // A short type name for logs ("Application", "Document", "Layers", "Layer", "SelectionSet").
  virtual std::u16string_view TypeName() const = 0;

  static long LiveObjects() noexcept { return live_.load(); }

 private:
  static inline std::atomic<long> live_{0};
};

}  // namespace simcad
