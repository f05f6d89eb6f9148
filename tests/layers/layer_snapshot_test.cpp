#include "layers/layer_snapshot.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "base/platform.h"
#include "support/counting_surfaces.h"

namespace plyscan {
namespace {

using testing::CountingSurfaces;

static_assert(!std::is_copy_constructible_v<LayerRecord> && !std::is_copy_assignable_v<LayerRecord>,
              "a record owns its thumbnail: copying one would share or duplicate it");
static_assert(std::is_nothrow_move_constructible_v<LayerRecord> && std::is_nothrow_move_assignable_v<LayerRecord>,
              "records move as whole values without creating or releasing anything");

// A record with its own 1x1 thumbnail whose pixel tells it apart.
LayerRecord Record(SurfaceFactory& surfaces, Text name, Colour tag, bool on = false, std::int32_t count = 0) {
  LayerRecord record;
  record.thumbnail = std::make_unique<Bitmap>(surfaces);
  record.thumbnail->SetSize(1, 1);
  record.thumbnail->SetPixel(0, 0, tag);
  record.name = std::move(name);
  record.on = on;
  record.object_count = count;
  return record;
}

std::vector<Text> Names(const LayerSnapshot& records) {
  std::vector<Text> names;
  for (const auto& r : records) names.push_back(r.name);
  return names;
}

std::vector<const Bitmap*> Thumbnails(const LayerSnapshot& records) {
  std::vector<const Bitmap*> thumbnails;
  for (const auto& r : records) thumbnails.push_back(r.thumbnail.get());
  return thumbnails;
}

LayerSnapshot FromNames(SurfaceFactory& surfaces, std::initializer_list<const char16_t*> names) {
  LayerSnapshot records;
  Colour tag = 0;
  for (const char16_t* name : names) records.push_back(Record(surfaces, name, tag++));
  return records;
}

TEST(SnapshotResize, KeepsTheFirstRecordsAndAppendsEmptyOnes) {
  CountingSurfaces surfaces;
  LayerSnapshot records = FromNames(surfaces, {u"A", u"B", u"C"});
  records[1].frozen = true;
  const Bitmap* second = records[1].thumbnail.get();

  ResizeSnapshot(records, 2);
  ASSERT_EQ(Names(records), (std::vector<Text>{u"A", u"B"}));
  EXPECT_EQ(records[1].thumbnail.get(), second);
  EXPECT_TRUE(records[1].frozen);
  EXPECT_EQ(surfaces.Live(), 2);  // the dropped record took its thumbnail with it

  ResizeSnapshot(records, 4);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[1].thumbnail.get(), second);  // kept records do not move out of their places
  for (std::size_t i = 2; i < 4; ++i) {
    const LayerRecord& fresh = records[i];
    EXPECT_FALSE(fresh.thumbnail);
    EXPECT_TRUE(fresh.name.empty());
    EXPECT_FALSE(fresh.on || fresh.frozen || fresh.locked);
    EXPECT_EQ(fresh.object_count, 0);
  }
  EXPECT_EQ(surfaces.Created(), 3);
}

TEST(SnapshotRelease, ReleasesEveryThumbnailAndKeepsTheRest) {
  CountingSurfaces surfaces;
  LayerSnapshot records = FromNames(surfaces, {u"A", u"B", u"C"});
  records[2].object_count = 9;
  ReleaseThumbnails(records);
  EXPECT_EQ(surfaces.Live(), 0);
  ASSERT_EQ(records.size(), 3u);
  for (const auto& r : records) EXPECT_FALSE(r.thumbnail);
  EXPECT_EQ(records[2].object_count, 9);
  EXPECT_EQ(records[2].name, u"C");
}

TEST(SortByName, OrdersByNameWithTheCollator) {
  struct Case {
    std::initializer_list<const char16_t*> names;
    std::vector<Text> sorted;
  } cases[] = {
      {{}, {}},
      {{u"only"}, {u"only"}},
      {{u"beta", u"Alpha", u"alpha2"}, {u"Alpha", u"alpha2", u"beta"}},  // case ignored
      {{u"Layer9", u"Layer10"}, {u"Layer10", u"Layer9"}},                // digits as characters
      {{u"0", u"Walls", u"doors", u"Defpoints"}, {u"0", u"Defpoints", u"doors", u"Walls"}},
  };
  CountingSurfaces surfaces;
  for (const auto& c : cases) {
    LayerSnapshot records = FromNames(surfaces, c.names);
    SortByName(records, UserCollator());
    EXPECT_EQ(Names(records), c.sorted);
  }
}

TEST(SortByName, FieldsAndThumbnailTravelWithTheirName) {
  CountingSurfaces surfaces;
  LayerSnapshot records;
  records.push_back(Record(surfaces, u"B", 0xB, true, 3));
  records.push_back(Record(surfaces, u"A", 0xA, false, 7));
  records[1].locked = true;
  const Bitmap* b_thumbnail = records[0].thumbnail.get();
  const Bitmap* a_thumbnail = records[1].thumbnail.get();

  SortByName(records, UserCollator());

  EXPECT_EQ(records[0].name, u"A");
  EXPECT_FALSE(records[0].on);
  EXPECT_TRUE(records[0].locked);
  EXPECT_EQ(records[0].object_count, 7);
  EXPECT_EQ(records[0].thumbnail.get(), a_thumbnail);
  EXPECT_EQ(records[1].name, u"B");
  EXPECT_TRUE(records[1].on);
  EXPECT_FALSE(records[1].locked);
  EXPECT_EQ(records[1].object_count, 3);
  EXPECT_EQ(records[1].thumbnail.get(), b_thumbnail);
  EXPECT_EQ(surfaces.Created(), 2);  // nothing made or released by the sort
  EXPECT_EQ(surfaces.Live(), 2);
}

TEST(SortByName, NamesAlreadyInOrderLeaveEveryRecordInPlace) {
  CountingSurfaces surfaces;
  LayerSnapshot records = FromNames(surfaces, {u"a", u"B", u"c", u"D", u"Layer10", u"Layer9"});
  const auto before = Thumbnails(records);
  SortByName(records, UserCollator());
  EXPECT_EQ(Thumbnails(records), before);
}

// A comparison that fails after a number of calls, as CompareStringW may.
class FailingCollator final : public Collator {
 public:
  explicit FailingCollator(int calls_before_failure) : left_(calls_before_failure) {}
  int Compare(TextView a, TextView b) const override {
    if (left_-- == 0) throw std::runtime_error("comparison failed");
    return UserCollator().Compare(a, b);
  }

 private:
  mutable int left_;
};

TEST(SortByName, AFailingComparisonPassesToTheCallerWithNoRecordLost) {
  CountingSurfaces surfaces;
  LayerSnapshot records;
  for (int i = 40; i > 0; --i) records.push_back(Record(surfaces, Text(u"L").append(DecimalText(i)), i));
  const auto names = Names(records);
  const auto thumbnails = Thumbnails(records);
  EXPECT_THROW(SortByName(records, FailingCollator(25)), std::runtime_error);
  EXPECT_EQ(Names(records), names);
  EXPECT_EQ(Thumbnails(records), thumbnails);
  EXPECT_EQ(surfaces.Live(), 40);
}

// The order the board has always had: the names copied to a list, the list
// quicksorted with the collator, then for each list entry the first record of
// that exact name (searched from the start) swapped into its place.
void ReferenceSort(LayerSnapshot& records, const Collator& collator) {
  std::vector<Text> list;
  for (const auto& r : records) list.push_back(r.name);
  const auto quicksort = [&](auto& self, int lo, int hi) -> void {
    while (lo < hi) {
      int i = lo, j = hi;
      const Text pivot = list[static_cast<std::size_t>((lo + hi) / 2)];
      while (i <= j) {
        while (collator.Compare(list[static_cast<std::size_t>(i)], pivot) < 0) ++i;
        while (collator.Compare(list[static_cast<std::size_t>(j)], pivot) > 0) --j;
        if (i <= j) std::swap(list[static_cast<std::size_t>(i++)], list[static_cast<std::size_t>(j--)]);
      }
      if (lo < j) self(self, lo, j);
      lo = i;
    }
  };
  if (list.size() > 1) quicksort(quicksort, 0, static_cast<int>(list.size()) - 1);
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (std::size_t j = 0; j < records.size(); ++j) {
      if (records[j].name == list[i]) {
        std::swap(records[i], records[j]);
        break;
      }
    }
  }
}

struct Signature {
  Text name;
  Colour tag;
  bool on, freeze, lock;
  std::int32_t count;
  bool operator==(const Signature&) const = default;
};

std::vector<Signature> Signatures(const LayerSnapshot& records) {
  std::vector<Signature> out;
  for (const auto& r : records)
    out.push_back({r.name, r.thumbnail->Pixel(0, 0), r.on, r.frozen, r.locked, r.object_count});
  return out;
}

// Random layer names, no two alike under the collator, each with its own
// switches, count and tagged thumbnail; built twice from the same seed.
LayerSnapshot RandomRecords(SurfaceFactory& surfaces, unsigned seed, std::size_t count) {
  static constexpr char16_t kAlphabet[] = u"aAbBcCdDeEzZ019_ ÉéÄäαΑЖж壁層";
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> letter(0, std::size(kAlphabet) - 2);
  std::uniform_int_distribution<int> length(1, 6);
  LayerSnapshot records;
  while (records.size() < count) {
    Text name;
    for (int n = length(random); n > 0; --n) name.push_back(kAlphabet[letter(random)]);
    bool clash = false;
    for (const auto& r : records) clash = clash || UserCollator().Compare(r.name, name) == 0;
    if (clash) continue;
    const auto bits = random();
    LayerRecord record =
        Record(surfaces, name, static_cast<Colour>(records.size()), bits & 1, static_cast<std::int32_t>(bits >> 8));
    record.frozen = bits & 2;
    record.locked = bits & 4;
    records.push_back(std::move(record));
  }
  return records;
}

TEST(SortByName, EqualsTheQuicksortAndMatchOrderForDistinctNames) {
  CountingSurfaces surfaces;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    const std::size_t count = seed * seed;  // 1 to 144 records
    LayerSnapshot ours = RandomRecords(surfaces, seed, count);
    LayerSnapshot reference = RandomRecords(surfaces, seed, count);
    ASSERT_EQ(Signatures(ours), Signatures(reference));
    const auto thumbnails = Thumbnails(ours);

    SortByName(ours, UserCollator());
    ReferenceSort(reference, UserCollator());

    ASSERT_EQ(Signatures(ours), Signatures(reference)) << "seed " << seed;
    for (std::size_t i = 0; i < ours.size(); ++i)  // each record still holds its own thumbnail
      EXPECT_EQ(ours[i].thumbnail.get(), thumbnails[static_cast<std::size_t>(ours[i].thumbnail->Pixel(0, 0))]);
  }
}

}  // namespace
}  // namespace plyscan
