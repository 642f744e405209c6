#include "people/frmMitarbeiter.h"

// The apply step writes nothing yet: the checked list stays in the editor.
bool Mitarbeiterdaten_aktualisieren(frmMitarbeiter& f) {
  (void)f;
  return true;
}
