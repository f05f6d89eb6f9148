// The DISPIDs that all objects of one class share, where the server says an
// object's class: IDispatch::GetTypeInfo answers a type whose TYPEATTR has a
// GUID. A server gives each class one ITypeInfo, and COM hands back the
// same proxy for it each time, so a type seen before is known by its
// pointer; only a type not seen yet costs the question for its attributes.
// The type information is held for the life of the cache, so that no other
// type can come back at a pointer that was released.
#pragma once

#include <oaidl.h>

#include <map>
#include <unordered_map>
#include <vector>

#include "base/stage_times.h"
#include "base/text.h"
#include "win32/com_ptr.h"

namespace plyscan::win32 {

// DISPIDs by the ASCII upper-cased member name.
using DispatchIdMap = std::unordered_map<Text, DISPID>;

class DispatchTypes {
 public:
  // The DISPIDs shared by every object of `dispatch`'s class, or null when the
  // server does not say its objects' classes (then, and for every object after
  // it, each object keeps its own). A question the server refused (busy) or
  // could not answer (gone) raises AutomationFailure for `member`, as the
  // name's look-up would, so that the call is asked again or ends the
  // command. The waits are charged to `times`.
  DispatchIdMap* IdsOf(IDispatch& dispatch, TextView member, StageTimes* times);

 private:
  struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const noexcept;
  };
  struct Seen {
    ComPtr<ITypeInfo> info;
    DispatchIdMap* ids;
  };

  std::vector<Seen> seen_;  // a few classes
  std::map<GUID, DispatchIdMap, GuidLess> by_class_;
  bool untyped_ = false;
};

}  // namespace plyscan::win32
