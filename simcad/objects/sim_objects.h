// simcad's automation objects, as an AutoCAD-compatible server exposes them:
//   Application:  HWND, ActiveDocument, ZoomExtents(), SimState
//   Document:     HWND, Layers, ActiveSelectionSet, GetVariable(name),
//                 SetVariable(name, value), SendCommand(text), Regen(which), SimState
//   Layers:       Count, Item(index or name)
//   Layer:        Name, Lock, Freeze, LayerOn (read and write)
//   SelectionSet: Clear(), Select(mode, corner1, corner2, [filter type], [filter data]), Count
// Each read of ActiveDocument, Layers, ActiveSelectionSet or Item hands out a
// new object over the shared session, so the live-object count shows every
// reference a client keeps. The Sim members are simcad's own, for tests.
#pragma once

#include <memory>

#include "simcad/objects/sim_cad.h"
#include "simcad/objects/sim_object.h"

namespace simcad {

using plyscan::automation::Args;
using plyscan::automation::Variant;

class Application final : public SimObject {
 public:
  explicit Application(std::shared_ptr<SimCad> cad) : cad_(std::move(cad)) {}
  std::span<const std::u16string_view> Members() const override;
  std::u16string_view TypeName() const override { return u"Application"; }
  Variant Get(TextView member, const Args& args) override;
  void Put(TextView member, const Variant& value) override;
  Variant Call(TextView member, const Args& args) override;
  using Object::Call;
  using Object::Get;

 private:
  std::shared_ptr<SimCad> cad_;
};

class Document final : public SimObject {
 public:
  explicit Document(std::shared_ptr<SimCad> cad) : cad_(std::move(cad)) {}
  std::span<const std::u16string_view> Members() const override;
  std::u16string_view TypeName() const override { return u"Document"; }
  Variant Get(TextView member, const Args& args) override;
  void Put(TextView member, const Variant& value) override;
  Variant Call(TextView member, const Args& args) override;
  using Object::Call;
  using Object::Get;

 private:
  std::shared_ptr<SimCad> cad_;
};

class LayerCollection final : public SimObject {
 public:
  explicit LayerCollection(std::shared_ptr<SimCad> cad) : cad_(std::move(cad)) {}
  std::span<const std::u16string_view> Members() const override;
  std::u16string_view TypeName() const override { return u"Layers"; }
  Variant Get(TextView member, const Args& args) override;
  void Put(TextView member, const Variant& value) override;
  Variant Call(TextView member, const Args& args) override;
  using Object::Call;
  using Object::Get;

 private:
  Variant Item(const Args& args);
  std::shared_ptr<SimCad> cad_;
};

class LayerObject final : public SimObject {
 public:
  LayerObject(std::shared_ptr<SimCad> cad, std::size_t index) : cad_(std::move(cad)), index_(index) {}
  std::span<const std::u16string_view> Members() const override;
  std::u16string_view TypeName() const override { return u"Layer"; }
  Variant Get(TextView member, const Args& args) override;
  void Put(TextView member, const Variant& value) override;
  Variant Call(TextView member, const Args& args) override;
  using Object::Call;
  using Object::Get;

 private:
  Layer& Target(std::u16string_view member);
  void Rename(Layer& layer, const Text& name);
  std::shared_ptr<SimCad> cad_;
  std::size_t index_;
};

class SelectionSet final : public SimObject {
 public:
  explicit SelectionSet(std::shared_ptr<SimCad> cad) : cad_(std::move(cad)) {}
  std::span<const std::u16string_view> Members() const override;
  std::u16string_view TypeName() const override { return u"SelectionSet"; }
  Variant Get(TextView member, const Args& args) override;
  void Put(TextView member, const Variant& value) override;
  Variant Call(TextView member, const Args& args) override;
  using Object::Call;
  using Object::Get;

 private:
  void Select(const Args& args);
  std::shared_ptr<SimCad> cad_;
};

}  // namespace simcad
