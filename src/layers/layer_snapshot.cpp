#include "layers/layer_snapshot.h"

#include <algorithm>
#include <numeric>

namespace plyscan {

void ResizeSnapshot(LayerSnapshot& records, std::size_t length) { records.resize(length); }

void ReleaseThumbnails(LayerSnapshot& records) noexcept {
  for (auto& record : records) record.thumbnail.reset();
}

void SortByName(LayerSnapshot& records, const Collator& collator) {
  if (records.size() < 2) return;
  // Sort positions first: the comparison may fail, and until the order is
  // settled no record has moved. A merge sort gives, for distinct names, the
  // one order the comparison defines, with no lookup of records by name.
  std::vector<std::size_t> order(records.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return collator.Compare(records[a].name, records[b].name) < 0;
  });
  LayerSnapshot sorted;
  sorted.reserve(records.size());  // the moves below cannot fail
  for (const std::size_t from : order) sorted.push_back(std::move(records[from]));
  records = std::move(sorted);
}

}  // namespace plyscan
