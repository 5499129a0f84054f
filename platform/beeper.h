#pragma once
// The short warning sound of a refused key.
namespace platform {

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void beep() = 0;
};

class SystemBeeper final : public Beeper {
 public:
  void beep() override;
};

}  // namespace platform
