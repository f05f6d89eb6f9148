// The target list file beside the executable: one entry per line, display
// name, TAB, ProgID. Reading decodes by the byte-order mark (UTF-8, UTF-16 LE
// or BE) or else by the ANSI code page, and splits at CR, LF or CR LF; writing
// ends every entry with CR LF in the encoding the list was last read in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ansi_codec.h"
#include "base/files.h"
#include "base/text.h"

namespace plyscan {

enum class ListEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct DecodedList {
  std::vector<Text> lines;
  ListEncoding encoding = ListEncoding::kAnsi;
};

// Decodes the whole file; the byte-order mark is not part of the first line.
// Never fails: invalid UTF-8 becomes U+FFFD, a lone last byte of UTF-16 is
// dropped, bytes the ANSI code page does not know become its default character.
DecodedList DecodeTargetList(std::string_view bytes, AnsiCodec& ansi);

// Lines ending at CR, LF or CR LF. The last line counts without a break; a break
// at the very end adds no empty line; empty lines in between are lines.
std::vector<Text> SplitLines(TextView text);

// Every entry followed by CR LF, after the encoding's byte-order mark (none for
// ANSI). An empty list gives no bytes at all.
std::string EncodeTargetList(const std::vector<Text>& lines, ListEncoding encoding, AnsiCodec& ansi);

// Reads the file; a file that cannot be read raises Failure
// "ファイル <path> は開けません。 <error> ".
DecodedList LoadTargetList(FileSystem& files, AnsiCodec& ansi, const Text& path);

// Writes the file; a file that cannot be created raises Failure
// "ファイル "<path>" を作成できません。<error>".
void SaveTargetList(FileSystem& files, AnsiCodec& ansi, const Text& path, const std::vector<Text>& lines,
                    ListEncoding encoding);

// The target dialog's access to the file: saves in the encoding of its last load
// (ANSI until it has loaded the file).
class TargetListStore {
 public:
  TargetListStore(FileSystem& files, AnsiCodec& ansi) : files_(&files), ansi_(&ansi) {}

  bool Exists(const Text& path) const { return files_->Exists(path); }
  std::vector<Text> Load(const Text& path);
  void Save(const Text& path, const std::vector<Text>& lines) const;
  ListEncoding Encoding() const noexcept { return encoding_; }

 private:
  FileSystem* files_;
  AnsiCodec* ansi_;
  ListEncoding encoding_ = ListEncoding::kAnsi;
};

// An entry belongs to `prog_id` when it holds a TAB immediately followed by
// `prog_id`, anywhere: exact, letter case counting, so "X.App" matches the entry
// of "X.App.2" as well.
bool EntryMatches(TextView entry, TextView prog_id);

// Index of the first entry that belongs to `prog_id`.
std::optional<std::size_t> FindEntry(const std::vector<Text>& entries, TextView prog_id);

// The name shown in the main window's caption at start-up: of the first line
// that belongs to `prog_id`, the text before the TAB that precedes `prog_id`.
std::optional<Text> StartupTargetName(const std::vector<Text>& lines, TextView prog_id);

// An entry split at its first TAB, as the dialog's two fields show it; without
// TAB the name is empty and the whole entry is the ProgID.
struct EntryFields {
  Text name;
  Text prog_id;
};
EntryFields SplitEntry(TextView entry);

// The entry the dialog makes of its two fields: name, TAB, ProgID.
Text JoinEntry(TextView name, TextView prog_id);

}  // namespace plyscan
