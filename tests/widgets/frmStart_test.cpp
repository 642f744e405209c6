// The splash window as the user sees it on a real X server: its texts are on the
// screen when the start goes on with its blocking steps, not a black box.
#include "widgets/frmStart.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

TEST(Startbildschirm, TexteStehenAufDemBildschirmBevorDerStartWeiterlaeuft) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed";
  QProcess server;
  // The server picks a free display and names it on its standard output.
  server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
  ASSERT_TRUE(server.waitForStarted());
  QByteArray nummer;
  while (!nummer.contains('\n') && server.waitForReadyRead(10000)) nummer += server.readAllStandardOutput();
  ASSERT_FALSE(nummer.trimmed().isEmpty()) << server.readAllStandardError().constData();

  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(nummer.trimmed()));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  // A window manager that maps windows a moment after they ask, as a desktop's does.
  QProcess verwalter;
  verwalter.setProcessEnvironment(env);
  verwalter.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_fensterverwalter"));
  QByteArray bereit;
  while (!bereit.contains("bereit") && verwalter.waitForReadyRead(10000)) bereit += verwalter.readAllStandardOutput();
  ASSERT_TRUE(bereit.contains("bereit")) << verwalter.exitCode();

  QTemporaryDir tmp;
  const QString pfad = tmp.filePath(QStringLiteral("Startbild.png"));
  QProcess foto;
  foto.setProcessEnvironment(env);
  foto.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_startbildfoto"), {pfad});
  ASSERT_TRUE(foto.waitForFinished(20000));
  verwalter.kill();
  verwalter.waitForFinished(5000);
  server.terminate();
  server.waitForFinished(5000);
  ASSERT_EQ(foto.exitCode(), 0) << foto.readAllStandardError().constData();

  const QImage bild(pfad);
  ASSERT_FALSE(bild.isNull());
  int weiß = 0, dunkel = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x) {
      const QColor c = bild.pixelColor(x, y);
      if (c.lightness() > 245) ++weiß;
      if (c.lightness() < 100) ++dunkel;
    }
  const int alle = bild.width() * bild.height();
  // The white face with the logo and the dark lines of the texts.
  EXPECT_GT(weiß, alle / 2) << "the splash window is not painted";
  EXPECT_GT(dunkel, alle / 200) << "no text on the splash window";
  EXPECT_LT(dunkel, alle / 4) << "a dark box";
}

}  // namespace
