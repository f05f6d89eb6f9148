#include "board/type_ahead.h"

#include <algorithm>

namespace plyscan::board {

namespace {

bool BeginsWith(const Text& name, const Text& text, const Collator& collator) {
  return name.size() >= text.size() && collator.Compare(TextView(name).substr(0, text.size()), text) == 0;
}

// The first record from `from` on, wrapping, whose name begins with `text`.
std::optional<std::size_t> FindFrom(std::size_t from, const Text& text, const LayerSnapshot& records,
                                    const Collator& collator) {
  for (std::size_t k = 0; k < records.size(); ++k) {
    const std::size_t i = (from + k) % records.size();
    if (BeginsWith(records[i].name, text, collator)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> TypeAhead::Type(char16_t c, std::uint64_t now, std::size_t current,
                                           const LayerSnapshot& records, const Collator& collator) {
  const bool fresh = typed_.empty() || now - last_ > kTypeAheadPause;
  last_ = now;
  if (fresh) typed_.clear();
  typed_.push_back(c);
  if (records.empty()) return std::nullopt;
  // From a cell past the last record the search starts at the first one.
  const bool past = current >= records.size();
  const std::size_t next = past ? 0 : current + 1;
  // A new text looks past the current record; a longer one may stay on it.
  if (const auto found = FindFrom(fresh || past ? next : current, typed_, records, collator)) return found;
  // The same letter again and again: the next name that begins with it.
  const bool one_letter = std::all_of(typed_.begin(), typed_.end(), [&](char16_t t) { return t == typed_[0]; });
  if (one_letter && typed_.size() > 1) return FindFrom(next, Text(1, c), records, collator);
  return std::nullopt;
}

}  // namespace plyscan::board
