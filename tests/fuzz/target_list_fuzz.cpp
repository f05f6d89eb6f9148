// The target list file may hold anything: every byte sequence must decode
// without fault, no line may hold a line break, and the lines must come back
// unchanged through either UTF-16 encoding. The matching and splitting rules
// run on every line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/platform.h"
#include "shell/target_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plyscan;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  AnsiCodec& ansi = SystemAnsiCodec();
  const DecodedList list = DecodeTargetList(bytes, ansi);

  for (const Text& line : list.lines) {
    if (line.find_first_of(u"\r\n") != Text::npos) std::abort();
    const EntryFields fields = SplitEntry(line);
    if (line.find(u'\t') != Text::npos && JoinEntry(fields.name, fields.prog_id) != line) std::abort();
    if (EntryMatches(line, fields.prog_id) != (line.find(u'\t') != Text::npos)) std::abort();
  }
  if (!list.lines.empty()) {
    const EntryFields first = SplitEntry(list.lines.front());
    const auto name = StartupTargetName(list.lines, first.prog_id);
    if (FindEntry(list.lines, first.prog_id).has_value() != name.has_value()) std::abort();
  }

  for (const ListEncoding encoding : {ListEncoding::kUtf16Le, ListEncoding::kUtf16Be}) {
    const DecodedList again = DecodeTargetList(EncodeTargetList(list.lines, encoding, ansi), ansi);
    if (again.lines != list.lines) std::abort();
    if (!list.lines.empty() && again.encoding != encoding) std::abort();
  }
  (void)EncodeTargetList(list.lines, ListEncoding::kUtf8, ansi);
  (void)EncodeTargetList(list.lines, ListEncoding::kAnsi, ansi);
  return 0;
}
