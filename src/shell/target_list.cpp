#include "shell/target_list.h"

#include "base/failure.h"

namespace plyscan {

namespace {

constexpr char16_t kCannotOpen[] = u"ファイル %s は開けません。 %s ";
constexpr char16_t kCannotCreate[] = u"ファイル \"%s\" を作成できません。%s";

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// A TAB and the ProgID: what an entry of that ProgID holds.
Text MatchNeedle(TextView prog_id) {
  Text needle;
  needle.reserve(prog_id.size() + 1);
  needle.push_back(u'\t');
  needle.append(prog_id);
  return needle;
}

}  // namespace

std::vector<Text> SplitLines(TextView text) {
  std::vector<Text> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != u'\r' && c != u'\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

DecodedList DecodeTargetList(std::string_view bytes, AnsiCodec& ansi) {
  DecodedList list;
  Text text;
  if (bytes.starts_with(kUtf8Bom)) {
    list.encoding = ListEncoding::kUtf8;
    text = FromUtf8(bytes.substr(kUtf8Bom.size()));
  } else if (bytes.starts_with(kUtf16LeBom)) {
    list.encoding = ListEncoding::kUtf16Le;
    text = FromUtf16Bytes(bytes.substr(kUtf16LeBom.size()), false);
  } else if (bytes.starts_with(kUtf16BeBom)) {
    list.encoding = ListEncoding::kUtf16Be;
    text = FromUtf16Bytes(bytes.substr(kUtf16BeBom.size()), true);
  } else {
    list.encoding = ListEncoding::kAnsi;
    text = ansi.Decode(std::string(bytes));
  }
  list.lines = SplitLines(text);
  return list;
}

std::string EncodeTargetList(const std::vector<Text>& lines, ListEncoding encoding, AnsiCodec& ansi) {
  if (lines.empty()) return {};
  Text text;
  std::size_t length = 0;
  for (const auto& line : lines) length += line.size() + 2;
  text.reserve(length);
  for (const auto& line : lines) {
    text += line;
    text += u"\r\n";
  }
  switch (encoding) {
    case ListEncoding::kUtf8:
      return std::string(kUtf8Bom) + ToUtf8(text);
    case ListEncoding::kUtf16Le:
      return std::string(kUtf16LeBom) + ToUtf16Bytes(text, false);
    case ListEncoding::kUtf16Be:
      return std::string(kUtf16BeBom) + ToUtf16Bytes(text, true);
    case ListEncoding::kAnsi:
      break;
  }
  return ansi.Encode(text);
}

DecodedList LoadTargetList(FileSystem& files, AnsiCodec& ansi, const Text& path) {
  std::string bytes;
  const FileResult read = files.ReadAll(path, bytes);
  if (!read.ok) throw Failure(Format(kCannotOpen, {path, read.error}));
  return DecodeTargetList(bytes, ansi);
}

void SaveTargetList(FileSystem& files, AnsiCodec& ansi, const Text& path, const std::vector<Text>& lines,
                    ListEncoding encoding) {
  const FileResult written = files.WriteAll(path, EncodeTargetList(lines, encoding, ansi));
  if (!written.ok) throw Failure(Format(kCannotCreate, {path, written.error}));
}

std::vector<Text> TargetListStore::Load(const Text& path) {
  DecodedList list = LoadTargetList(*files_, *ansi_, path);
  encoding_ = list.encoding;
  return std::move(list.lines);
}

void TargetListStore::Save(const Text& path, const std::vector<Text>& lines) const {
  SaveTargetList(*files_, *ansi_, path, lines, encoding_);
}

bool EntryMatches(TextView entry, TextView prog_id) { return Pos(MatchNeedle(prog_id), entry) != 0; }

std::optional<std::size_t> FindEntry(const std::vector<Text>& entries, TextView prog_id) {
  const Text needle = MatchNeedle(prog_id);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (Pos(needle, entries[i]) != 0) return i;
  return std::nullopt;
}

std::optional<Text> StartupTargetName(const std::vector<Text>& lines, TextView prog_id) {
  const Text needle = MatchNeedle(prog_id);
  for (const auto& line : lines) {
    const std::size_t at = Pos(needle, line);
    if (at != 0) return line.substr(0, at - 1);
  }
  return std::nullopt;
}

EntryFields SplitEntry(TextView entry) {
  const std::size_t tab = entry.find(u'\t');
  if (tab == TextView::npos) return {Text(), Text(entry)};
  return {Text(entry.substr(0, tab)), Text(entry.substr(tab + 1))};
}

Text JoinEntry(TextView name, TextView prog_id) {
  Text entry;
  entry.reserve(name.size() + 1 + prog_id.size());
  entry.append(name);
  entry.push_back(u'\t');
  entry.append(prog_id);
  return entry;
}

}  // namespace plyscan
