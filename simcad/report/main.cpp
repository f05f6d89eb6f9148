// simcad-report FILE.dxf | --demo: prints the drawing's layers (or those of
// simcad's built-in demo drawing) in table order (name, switches, colour,
// model-space entities on it) and its extents as one JSON object. Exit code 0; 1 with the error on stderr when the file cannot be
// loaded; 2 for a wrong command line.
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>

#include "base/text.h"
#include "simcad/drawing/drawing.h"

namespace {

std::string JsonString(const simcad::Text& text) {
  const std::string utf8 = plyscan::ToUtf8(text);
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string JsonPoint(const simcad::Point& p) {
  return "[" + JsonNumber(p.x) + ", " + JsonNumber(p.y) + ", " + JsonNumber(p.z) + "]";
}

std::string Report(const simcad::Drawing& drawing) {
  const std::vector<std::size_t> counts = drawing.EntityCounts();
  std::string out = "{\n  \"layers\": [\n";
  for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
    const simcad::Layer& layer = drawing.layers[i];
    out += "    {\"name\": " + JsonString(layer.name) + ", \"on\": " + (layer.on ? "true" : "false") +
           ", \"frozen\": " + (layer.frozen ? "true" : "false") + ", \"locked\": " + (layer.locked ? "true" : "false") +
           ", \"colour\": " + std::to_string(layer.colour) + ", \"entities\": " + std::to_string(counts[i]) + "}";
    out += i + 1 < drawing.layers.size() ? ",\n" : "\n";
  }
  const simcad::Box extents = drawing.ThawedExtents();
  out += "  ],\n  \"current\": " + JsonString(drawing.layers[drawing.current].name) + ",\n";
  out += "  \"entities\": " + std::to_string(drawing.entities.size()) + ",\n";
  out += "  \"extmin\": " + JsonPoint(extents.min) + ",\n  \"extmax\": " + JsonPoint(extents.max) + "\n}\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: simcad-report FILE.dxf | --demo\n", stderr);
    return 2;
  }
  try {
    const std::string arg = argv[1];
    const std::string json = Report(arg == "--demo" ? simcad::DemoDrawing() : simcad::LoadDxfFile(arg));
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "simcad-report: %s: %s\n", argv[1], error.what());
    return 1;
  }
}
