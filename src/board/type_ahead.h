// Finding a layer on the board by typing its name: each letter typed within
// a second of the one before extends the text; a pause starts a new one. The
// current record stays while its name still begins with the text; otherwise
// the next record (after the current one for a new text, from the first one
// when the current cell lies past the records, wrapping at the end) whose
// name does. Names are compared as the board's order compares
// them: the user's locale, letter case ignored. Typing one letter over and
// over goes through the names that begin with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/collation.h"
#include "layers/layer_snapshot.h"

namespace plyscan::board {

inline constexpr std::uint64_t kTypeAheadPause = 1000;  // milliseconds

class TypeAhead {
 public:
  // The record to make current after `c` was typed at `now` (milliseconds),
  // `current` being current; nullopt when no name begins with the text.
  std::optional<std::size_t> Type(char16_t c, std::uint64_t now, std::size_t current, const LayerSnapshot& records,
                                  const Collator& collator);
  const Text& Typed() const noexcept { return typed_; }

 private:
  Text typed_;
  std::uint64_t last_ = 0;
};

}  // namespace plyscan::board
