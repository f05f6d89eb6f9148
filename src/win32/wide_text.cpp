#include "win32/wide_text.h"

#include "win32/scoped_handles.h"

namespace plyscan::win32 {

Text SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is where the
  // address of the text the system allocates goes.
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const UniqueLocal allocated(buffer);
  Text text = length && buffer ? FromWide({buffer, length}) : u"Error " + DecimalText(code);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return text;
}

}  // namespace plyscan::win32
