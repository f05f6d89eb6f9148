#include "simcad/server/class_registration.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace simcad::server {

namespace {

// A registry key handle closed on every way out.
class UniqueKey {
 public:
  UniqueKey() = default;
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;
  ~UniqueKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY Get() const noexcept { return key_; }
  HKEY* Put() noexcept { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// Two 64-bit FNV-1a hashes of the bytes with different offset bases: 128
// well-mixed bits, in standard C++.
std::array<std::uint8_t, 16> Hash128(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t halves[2] = {0xcbf29ce484222325ULL, 0x6c62272e07bb0142ULL};
  std::array<std::uint8_t, 16> out{};
  for (int h = 0; h < 2; ++h) {
    for (std::uint8_t b : bytes) {
      halves[h] ^= b;
      halves[h] *= 0x100000001b3ULL;
    }
    for (int i = 0; i < 8; ++i) out[static_cast<std::size_t>(h * 8 + i)] = static_cast<std::uint8_t>(halves[h] >> (56 - 8 * i));
  }
  return out;
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

CLSID ClassIdForProgId(std::u16string_view progid) {
  // ProgIDs are looked up without regard to case, so the name is upper-cased
  // (ASCII) before it is hashed, with a namespace prefix of our own.
  std::vector<std::uint8_t> bytes;
  for (char c : std::string_view("simcad.progid:")) bytes.push_back(static_cast<std::uint8_t>(c));
  for (char16_t c : progid) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    bytes.push_back(static_cast<std::uint8_t>(c & 0xff));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  auto h = Hash128(bytes);
  h[6] = static_cast<std::uint8_t>((h[6] & 0x0f) | 0x50);  // version 5: name-based
  h[8] = static_cast<std::uint8_t>((h[8] & 0x3f) | 0x80);  // RFC 4122 variant
  CLSID id{};
  id.Data1 = (static_cast<unsigned long>(h[0]) << 24) | (static_cast<unsigned long>(h[1]) << 16) |
             (static_cast<unsigned long>(h[2]) << 8) | h[3];
  id.Data2 = static_cast<unsigned short>((h[4] << 8) | h[5]);
  id.Data3 = static_cast<unsigned short>((h[6] << 8) | h[7]);
  for (int i = 0; i < 8; ++i) id.Data4[i] = h[static_cast<std::size_t>(8 + i)];
  return id;
}

std::u16string ClassIdText(const CLSID& id) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

ClassRegistration::ClassRegistration(std::u16string_view progid, const CLSID& clsid) {
  const std::wstring name = Wide(progid);
  const std::wstring id = Wide(ClassIdText(clsid));
  const bool user = Register(HKEY_CURRENT_USER, name, id);
  const bool machine = Register(HKEY_LOCAL_MACHINE, name, id);
  ok_ = user || machine;
}

ClassRegistration::ClassRegistration(ClassRegistration&& other) noexcept
    : created_(std::move(other.created_)), ok_(other.ok_) {
  other.created_.clear();
}

ClassRegistration::~ClassRegistration() {
  // Children first; a key that has gained subkeys of someone else's stays.
  for (auto it = created_.rbegin(); it != created_.rend(); ++it) RegDeleteKeyW(it->root, it->path.c_str());
}

bool ClassRegistration::Register(HKEY root, const std::wstring& progid, const std::wstring& clsid) {
  const std::wstring classes = L"Software\\Classes\\";
  return CreateKey(root, classes + progid, L"simcad application") &&
         CreateKey(root, classes + progid + L"\\CLSID", clsid) &&
         CreateKey(root, classes + L"CLSID\\" + clsid, L"simcad application") &&
         CreateKey(root, classes + L"CLSID\\" + clsid + L"\\ProgID", progid);
}

bool ClassRegistration::CreateKey(HKEY root, const std::wstring& path, const std::wstring& default_value) {
  UniqueKey key;
  DWORD disposition = 0;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Put(),
                      &disposition) != ERROR_SUCCESS)
    return false;
  if (disposition == REG_CREATED_NEW_KEY) {
    created_.push_back({root, path});
  } else {
    // A key that was there already keeps a value that is not ours: another
    // program's registration (a real CAD's ProgID, say) must not be rewritten.
    wchar_t existing[260] = {};
    DWORD size = sizeof existing - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, existing, &size) == ERROR_SUCCESS &&
        existing[0] != 0 && default_value != existing)
      return false;
  }
  const auto bytes = static_cast<DWORD>((default_value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(default_value.c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace simcad::server
