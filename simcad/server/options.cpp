#include "simcad/server/options.h"

#include <cstdint>

#include "base/failure.h"
#include "base/text.h"

namespace simcad::server {

namespace {

using plyscan::Failure;

// A decimal count in [minimum, 1e8]; anything else is refused.
int Count(std::u16string_view text, int minimum, std::u16string_view option) {
  std::int64_t value = 0;
  bool digits = !text.empty() && text.size() <= 9;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') {
      digits = false;
      break;
    }
    value = value * 10 + (c - u'0');
  }
  if (!digits || value < minimum)
    throw Failure(Text(option) + u": not a valid number: " + Text(text));
  return static_cast<int>(value);
}

Text NonEmpty(std::u16string_view text, std::u16string_view option) {
  if (text.empty()) throw Failure(Text(option) + u": empty value");
  return Text(text);
}

}  // namespace

ServerOptions ParseServerOptions(const std::vector<Text>& args) {
  ServerOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Text& option = args[i];
    auto value = [&]() -> const Text& {
      if (i + 1 >= args.size()) throw Failure(option + u": a value is missing");
      return args[++i];
    };
    if (option == u"--progid") {
      options.progids.push_back(NonEmpty(value(), option));
    } else if (option == u"--drawing") {
      options.drawing_file = NonEmpty(value(), option);
    } else if (option == u"--demo") {
      options.demo = true;
    } else if (option == u"--screen") {
      const Text& size = value();
      const auto x = size.find_first_of(u"xX");
      if (x == Text::npos) throw Failure(option + u": expected WIDTHxHEIGHT: " + size);
      options.screen_width = Count(std::u16string_view(size).substr(0, x), 16, option);
      options.screen_height = Count(std::u16string_view(size).substr(x + 1), 16, option);
      if (options.screen_width > 8192 || options.screen_height > 8192)
        throw Failure(option + u": at most 8192x8192: " + size);
    } else if (option == u"--log") {
      options.log_file = NonEmpty(value(), option);
    } else if (option == u"--reject-calls") {
      options.reject_calls = Count(value(), 0, option);
    } else if (option == u"--fail") {
      const Text& rule = value();
      const auto at = rule.find(u'@');
      FailRule fail{NonEmpty(rule.substr(0, at), option), 0};
      if (at != Text::npos) fail.nth = Count(std::u16string_view(rule).substr(at + 1), 1, option);
      options.failures.push_back(std::move(fail));
    } else if (option == u"--delay") {
      const Text& rule = value();
      const auto eq = rule.find(u'=');
      if (eq == Text::npos) throw Failure(option + u": expected MEMBER=MS: " + rule);
      options.delays.push_back(
          {NonEmpty(rule.substr(0, eq), option), Count(std::u16string_view(rule).substr(eq + 1), 0, option)});
    } else if (option == u"--lenient-types") {
      options.lenient_types = true;
    } else if (option == u"--layerstate-overwrite") {
      options.layerstate_overwrite = true;
    } else if (option == u"--minimized") {
      options.minimized = true;
    } else if (option == u"--popup-document") {
      options.popup_document = true;
    } else if (option == u"--no-type-info") {
      options.no_type_info = true;
    } else {
      throw Failure(u"unknown option: " + option);
    }
  }
  if (options.drawing_file && options.demo) throw Failure(u"--drawing and --demo exclude each other");
  if (options.progids.empty()) options.progids.emplace_back(kDefaultProgId);
  return options;
}

}  // namespace simcad::server
