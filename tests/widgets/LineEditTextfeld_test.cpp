#include "widgets/LineEditTextfeld.h"

#include <QLineEdit>

#include "common/Testumgebung.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"

namespace {

// The date check of the conversions, on a real line edit through its text box.
class LineEditTextfeldTest : public VelkoraTest {};

TEST_F(LineEditTextfeldTest, CheckDatumAufEinerZeileneingabe) {
  gHeute = QDate(2027, 6, 10);
  QLineEdit eingabe;
  LineEditTextfeld feld(&eingabe);
  eingabe.setText(QStringLiteral("1505"));
  EXPECT_TRUE(CheckDatum(feld, true));
  EXPECT_EQ(eingabe.text(), u"15.05.27");
  eingabe.setMaxLength(6);
  eingabe.setText(QStringLiteral("3.4"));
  EXPECT_TRUE(CheckDatum(feld, true));
  EXPECT_EQ(eingabe.text(), u"03.04.");
  eingabe.setText(QStringLiteral("3x4"));
  EXPECT_FALSE(CheckDatum(feld, true));
  EXPECT_EQ(eingabe.selectedText(), u"3x4");
}

}  // namespace
