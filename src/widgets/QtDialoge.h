#pragma once
// The prompts service of the running program: Qt message boxes and common dialogs.
#include "platform/Dialoge.h"

namespace dialoge {
class QtDienst : public Dienst {
 public:
  Antwort zeigen(const Aufforderung& a) override;
  void piepen() override;
};

// Loads Qt's German translation, so that Qt's own dialogs (file, colour, print) and
// its standard buttons speak German. False when no translation was found.
bool Qt_Übersetzung_laden();
}  // namespace dialoge
