#include "startup/Meldungen.h"

#include <QCursor>
#include <QGuiApplication>

#include "common/Testumgebung.h"
#include "startup/Start.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// Records beeps and, for each prompt, the busy state at the moment it is shown.
class Zeuge : public dialoge::Skript {
 public:
  dialoge::Antwort zeigen(const dialoge::Aufforderung& a) override {
    beschäftigtBeimZeigen.push_back(gBeschäftigt);
    sanduhrBeimZeigen.push_back(QGuiApplication::overrideCursor() != nullptr);
    return Skript::zeigen(a);
  }
  void piepen() override { ++pieptöne; }
  int pieptöne = 0;
  std::vector<bool> beschäftigtBeimZeigen, sanduhrBeimZeigen;
};

class MeldungenTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    auto z = std::make_unique<Zeuge>();
    zeuge = z.get();
    dialoge::setzeDienst(std::move(z));
    gWartehaken.eingabe_sperren = [this] { haken << QStringLiteral("sperren"); };
    gWartehaken.eingabe_freigeben = [this] { haken << QStringLiteral("freigeben"); };
    gWartehaken.punkte_starten = [this] { haken << QStringLiteral("punkte an"); };
    gWartehaken.punkte_stoppen = [this] { haken << QStringLiteral("punkte aus"); };
    gWartehaken.titel = [this] { return titel; };
    gWartehaken.titel_setzen = [this](const QString& t) { titel = t; };
  }
  Zeuge* zeuge = nullptr;
  QStringList haken;
  QString titel;
};

TEST_F(MeldungenTest, MeldungPieptEinmalBeendetZuerstDenBeschaeftigtzustandUndZeigtWarnung) {
  for (const bool start : {false, true}) {
    haken.clear();
    gStörungAnzeigen = start;
    Sanduhr_ein();
    Sanduhr_ein();
    Meldung(QStringLiteral("Zeile 1\rZeile 2"));
    const auto& a = zeuge->protokoll.back();
    EXPECT_EQ(a.art, dialoge::Art::Meldung);
    EXPECT_EQ(a.titel, QStringLiteral("Velkora"));
    EXPECT_EQ(a.text, QStringLiteral("Zeile 1\rZeile 2"));
    EXPECT_FALSE(zeuge->beschäftigtBeimZeigen.back());
    EXPECT_FALSE(zeuge->sanduhrBeimZeigen.back()) << "the hourglass must be off before the box shows";
    // During the start the main window is not touched: only the hourglass goes.
    EXPECT_EQ(haken, start ? QStringList() : (QStringList{QStringLiteral("punkte aus"), QStringLiteral("freigeben")}));
  }
  EXPECT_EQ(zeuge->pieptöne, 2);
}

TEST_F(MeldungenTest, FrageHatNeinAlsStandardUndPieptNicht) {
  EXPECT_FALSE(Frage(QStringLiteral("Weiter?")));
  zeuge->antworte(dialoge::kJa);
  EXPECT_TRUE(Frage(QStringLiteral("Weiter?"), QStringLiteral("Titel")));
  ASSERT_EQ(zeuge->protokoll.size(), 2u);
  EXPECT_EQ(zeuge->protokoll[0].art, dialoge::Art::JaNein);
  EXPECT_EQ(zeuge->protokoll[0].titel, QStringLiteral("Velkora"));
  EXPECT_EQ(zeuge->protokoll[1].titel, QStringLiteral("Titel"));
  EXPECT_EQ(zeuge->pieptöne, 0);
}

TEST_F(MeldungenTest, EinSanduhrAusBeendetBeliebigVieleSanduhrEin) {
  for (int i = 0; i < 3; ++i) Sanduhr_ein();
  EXPECT_TRUE(gBeschäftigt);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Sanduhr_aus();
  EXPECT_FALSE(gBeschäftigt);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MeldungenTest, WartezustandSchaltetEingabeUndPunkteUndBereinigtDenTitel) {
  titel = QStringLiteral("Velkora - Firma - Bitte warten . . .");
  Sanduhr_Warten_ein();
  EXPECT_TRUE(gBeschäftigt);
  EXPECT_EQ(haken, (QStringList{QStringLiteral("sperren"), QStringLiteral("punkte an")}));
  haken.clear();
  Sanduhr_Warten_aus();
  EXPECT_FALSE(gBeschäftigt);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(haken, (QStringList{QStringLiteral("punkte aus"), QStringLiteral("freigeben")}));
  EXPECT_EQ(titel, QStringLiteral("Velkora - Firma"));
}

TEST_F(MeldungenTest, WartezustandScheitertNieAnEinemFehlerhaftenHaken) {
  gWartehaken.eingabe_sperren = [] { throw std::runtime_error("kein Fenster"); };
  gWartehaken.punkte_stoppen = [] { throw std::runtime_error("kein Timer"); };
  Sanduhr_Warten_ein();
  EXPECT_TRUE(gBeschäftigt);
  Meldung(QStringLiteral("x"));
  EXPECT_FALSE(gBeschäftigt);
  EXPECT_EQ(zeuge->protokoll.size(), 1u);
}

TEST_F(MeldungenTest, TitelOhnePunkteAmEndeBleibt) {
  struct Fall {
    QString vorher, nachher;
  } fälle[] = {
      {QStringLiteral("Velkora - Bitte warten . . ."), QStringLiteral("Velkora")},
      {QStringLiteral("A - Bitte warten - B - Bitte warten . . ."), QStringLiteral("A")},
      {QStringLiteral("Velkora - Bitte warten"), QStringLiteral("Velkora - Bitte warten")},
      {QStringLiteral("Velkora . . ."), QStringLiteral("Velkora . . .")},
      {QString(), QString()},
  };
  for (const Fall& f : fälle) EXPECT_EQ(Titel_ohne_Warten(f.vorher), f.nachher) << f.vorher.toStdString();
}

}  // namespace
