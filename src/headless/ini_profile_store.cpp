// Headless private-profile store: an INI reader and writer that behaves, for
// the settings this program keeps, like GetPrivateProfileStringW and
// WritePrivateProfileStringW:
//  - "[Section]" headers and "key=value" lines; section and key names are
//    matched with blanks trimmed and ASCII letter case ignored; the first of
//    two equal sections or keys counts;
//  - a value is read with surrounding blanks and one pair of enclosing quotes
//    removed, cut to 2047 characters;
//  - a write drops the value's leading blanks, replaces an existing key's
//    line in place, adds a new key after the last line of its section and a
//    new section at the end of the file, and creates the file with its first
//    write;
//  - lines end in CR LF; the file is kept in the encoding its byte-order mark
//    names (UTF-16 LE or BE, UTF-8) and otherwise written in the ANSI code page.
// Every call reads the file anew; a write rewrites the whole file.
#include <optional>
#include <string_view>
#include <vector>

#include "base/ansi_codec.h"
#include "base/files.h"
#include "base/platform.h"
#include "shell/profile_store.h"

namespace plyscan {

namespace {

enum class IniEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x1A; }

TextView TrimStart(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

TextView Trim(TextView s) {
  s = TrimStart(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; }

bool SameName(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// One line of the file, as the profile functions see it.
struct IniLine {
  enum class Kind { kBlank, kSection, kKey } kind = Kind::kBlank;
  TextView name;               // section or key name, trimmed
  std::optional<TextView> value;  // a key's value, trimmed; none without "="
};

IniLine Classify(TextView raw) {
  const TextView line = Trim(raw);
  if (line.empty()) return {};
  if (line.front() == u'[') {
    const std::size_t close = line.rfind(u']');
    if (close != TextView::npos && close > 0) return {IniLine::Kind::kSection, Trim(line.substr(1, close - 1)), {}};
  }
  const std::size_t equals = line.find(u'=');
  if (equals == TextView::npos) return {IniLine::Kind::kKey, line, std::nullopt};
  return {IniLine::Kind::kKey, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

class IniDocument {
 public:
  static IniDocument Parse(std::string_view bytes, AnsiCodec& ansi) {
    IniDocument doc;
    Text text;
    if (bytes.starts_with(kUtf8Bom)) {
      doc.encoding_ = IniEncoding::kUtf8;
      text = FromUtf8(bytes.substr(kUtf8Bom.size()));
    } else if (bytes.starts_with(kUtf16LeBom)) {
      doc.encoding_ = IniEncoding::kUtf16Le;
      text = FromUtf16Bytes(bytes.substr(kUtf16LeBom.size()), false);
    } else if (bytes.starts_with(kUtf16BeBom)) {
      doc.encoding_ = IniEncoding::kUtf16Be;
      text = FromUtf16Bytes(bytes.substr(kUtf16BeBom.size()), true);
    } else {
      text = ansi.Decode(std::string(bytes));
    }
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(u'\n', start);
      if (end == Text::npos) end = text.size();
      std::size_t stop = end;
      if (stop > start && text[stop - 1] == u'\r') --stop;
      doc.lines_.emplace_back(text.substr(start, stop - start));
      start = end + 1;
    }
    return doc;
  }

  std::optional<Text> Value(TextView section, TextView key) const {
    const auto found = FindKey(section, key);
    if (!found.key) return std::nullopt;
    const IniLine line = Classify(lines_[*found.key]);
    if (!line.value) return std::nullopt;
    TextView value = *line.value;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return Text(value.substr(0, ProfileStore::kMaxValueLength));
  }

  // The value is stored without its leading blanks.
  void Set(TextView section, TextView key, TextView value) {
    value = TrimStart(value);
    const TextView key_name = Trim(key);
    const auto found = FindKey(section, key_name);
    if (found.key) {
      const Text existing(Classify(lines_[*found.key]).name);
      lines_[*found.key] = existing + u"=" + Text(value);
      return;
    }
    const Text line = Text(key_name) + u"=" + Text(value);
    if (!found.section) {
      lines_.push_back(u"[" + Text(Trim(section)) + u"]");
      lines_.push_back(line);
      return;
    }
    // After the section's last line that is not blank.
    std::size_t at = *found.section + 1;
    for (std::size_t i = at; i < lines_.size(); ++i) {
      const IniLine::Kind kind = Classify(lines_[i]).kind;
      if (kind == IniLine::Kind::kSection) break;
      if (kind != IniLine::Kind::kBlank) at = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line);
  }

  std::string Serialise(AnsiCodec& ansi) const {
    Text text;
    for (const auto& line : lines_) {
      text += line;
      text += u"\r\n";
    }
    switch (encoding_) {
      case IniEncoding::kUtf8:
        return std::string(kUtf8Bom) + ToUtf8(text);
      case IniEncoding::kUtf16Le:
        return std::string(kUtf16LeBom) + ToUtf16Bytes(text, false);
      case IniEncoding::kUtf16Be:
        return std::string(kUtf16BeBom) + ToUtf16Bytes(text, true);
      case IniEncoding::kAnsi:
        break;
    }
    return ansi.Encode(text);
  }

 private:
  struct Found {
    std::optional<std::size_t> section;  // index of the header line
    std::optional<std::size_t> key;      // index of the key line
  };

  Found FindKey(TextView section, TextView key) const {
    const TextView section_name = Trim(section);
    const TextView key_name = Trim(key);
    Found found;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const IniLine line = Classify(lines_[i]);
      if (line.kind == IniLine::Kind::kSection) {
        if (found.section) break;  // the end of the section searched
        if (SameName(line.name, section_name)) found.section = i;
      } else if (found.section && line.kind == IniLine::Kind::kKey && SameName(line.name, key_name)) {
        found.key = i;
        break;
      }
    }
    return found;
  }

  IniEncoding encoding_ = IniEncoding::kAnsi;
  std::vector<Text> lines_;
};

class IniProfileStore final : public ProfileStore {
 public:
  IniProfileStore(FileSystem& files, AnsiCodec& ansi) : files_(&files), ansi_(&ansi) {}

  std::optional<Text> Read(const Text& path, TextView section, TextView key) override {
    std::string bytes;
    if (!files_->ReadAll(path, bytes).ok) return std::nullopt;
    return IniDocument::Parse(bytes, *ansi_).Value(section, key);
  }

  bool Write(const Text& path, TextView section, TextView key, TextView value) override {
    std::string bytes;
    // A file that is there but cannot be read is not overwritten.
    if (!files_->ReadAll(path, bytes).ok && files_->Exists(path)) return false;
    IniDocument doc = IniDocument::Parse(bytes, *ansi_);
    doc.Set(section, key, value);
    return files_->WriteAll(path, doc.Serialise(*ansi_)).ok;
  }

 private:
  FileSystem* files_;
  AnsiCodec* ansi_;
};

}  // namespace

ProfileStore& SystemProfileStore() {
  static IniProfileStore store(SystemFiles(), SystemAnsiCodec());
  return store;
}

}  // namespace plyscan
