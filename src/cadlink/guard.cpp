#include "cadlink/guard.h"

#include <new>

namespace plyscan {

Text DescribeCurrentFailure() noexcept {
  try {
    throw;
  } catch (const Failure& f) {
    try {
      return f.Message();
    } catch (...) {
    }
  } catch (const std::bad_alloc&) {
  } catch (const std::exception& e) {
    try {
      return FromUtf8(e.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return Text();
}

}  // namespace plyscan
