#pragma once
// The prompts service of the running program: Qt message boxes and common dialogs.
#include "platform/Dialoge.h"

namespace dialoge {
class QtDienst : public Dienst {
 public:
  Antwort zeigen(const Aufforderung& a) override;
  void piepen() override;
};
}  // namespace dialoge
