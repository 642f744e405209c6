#pragma once
// The display colours dialog, opened from the settings dialog.
#include <QDialog>

class frmFarbeinstellungen : public QDialog {
 public:
  // hervorhebung: the highlight mode of the settings dialog's working copy (position
  // 25); überschrift: whether rows with headings are highlighted there.
  frmFarbeinstellungen(QWidget* owner, int hervorhebung, bool überschrift);
  // Shows the dialog modally over the owner.
  static void anzeigen(QWidget* owner, int hervorhebung, bool überschrift);
};
