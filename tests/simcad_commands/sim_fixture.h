// A small drawing and a simcad session over it, shared by simcad's command
// and object tests.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "simcad/objects/sim_cad.h"
#include "simcad/objects/sim_objects.h"

namespace simcad::testing {

// Layers "0", "Walls", "Doors", "Notes", "A#1", "Empty" (current "0"); model
// space, x from 0 to 100 and y from 0 to 50:
//   Walls: lines (0,0)-(100,0) and (100,0)-(100,50)
//   Doors: a circle at (50,25), radius 5
//   Notes: a line (10,40)-(20,40)
//   0:     a line (0,50)-(60,50)
//   A#1:   a line (70,10)-(80,10)
// The screen is 800 x 400 pixels.
Drawing SmallDrawing();

// Keeps what _BMPOUT writes instead of writing files.
class CapturedFiles final : public FileWriter {
 public:
  bool Write(const Text& path, const std::string& bytes) override {
    files[path] = bytes;
    return !refuse;
  }
  std::map<Text, std::string> files;
  bool refuse = false;
};

struct Session {
  explicit Session(Drawing drawing = SmallDrawing(), SimOptions options = {});
  Layer& LayerNamed(TextView name);
  // Every layer's switches in table order, as "name:" + 1 (on) or 0 (off) +
  // F (frozen) or T (thawed) + L (locked) or U (unlocked): "Walls:1FU".
  std::string Switches() const;

  CapturedFiles* files;  // owned by `cad`
  std::shared_ptr<SimCad> cad;
};

}  // namespace simcad::testing
