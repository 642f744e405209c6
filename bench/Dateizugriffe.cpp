#include "Dateizugriffe.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const kMarkeAn = "/velkora-zaehlmarke-an";
const char* const kMarkeAus = "/velkora-zaehlmarke-aus";

QHash<QString, std::function<void(int)>>& Zählarten() {
  static QHash<QString, std::function<void(int)>> h;
  return h;
}

// Waiting on descriptors and making pipes or event descriptors touch no file.
const QSet<QString>& Keine_Dateiaufrufe() {
  static const QSet<QString> s = {
      QStringLiteral("poll"),      QStringLiteral("ppoll"),         QStringLiteral("select"),
      QStringLiteral("pselect6"),  QStringLiteral("epoll_wait"),    QStringLiteral("epoll_pwait"),
      QStringLiteral("epoll_ctl"), QStringLiteral("epoll_create1"), QStringLiteral("eventfd2"),
      QStringLiteral("pipe"),      QStringLiteral("pipe2")};
  return s;
}

}  // namespace

void Zählmarke(bool an) { (void)!::access(an ? kMarkeAn : kMarkeAus, F_OK); }

void Zählart_anmelden(const QString& name, std::function<void(int n)> arbeit) {
  Zählarten().insert(name, std::move(arbeit));
}

bool Zählart_ausführen(int argc, char** argv) {
  if (argc < 4 || QByteArray(argv[1]) != "--zaehlart") return false;
  const auto it = Zählarten().constFind(QString::fromUtf8(argv[2]));
  if (it == Zählarten().cend()) {
    std::fprintf(stderr, "unknown counting mode %s\n", argv[2]);
    std::exit(2);
  }
  (*it)(std::atoi(argv[3]));
  return true;
}

Dateizugriffe Dateizugriffe_zählen(const QString& art, int n) {
  Dateizugriffe z;
  const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
  if (strace.isEmpty()) return z;
  QTemporaryDir tmp;
  const QString protokoll = tmp.path() + QStringLiteral("/strace.txt");
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-s"), QStringLiteral("200"),
                   QStringLiteral("-e"), QStringLiteral("trace=%file,%desc"), QStringLiteral("-o"), protokoll,
                   QStringLiteral("--"), QCoreApplication::applicationFilePath(), QStringLiteral("--zaehlart"), art,
                   QString::number(n)});
  if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return z;
  QFile f(protokoll);
  if (!f.open(QIODevice::ReadOnly)) return z;

  // "pid call(arguments) = result", or a call split in "<unfinished ...>" and
  // "<... call resumed>" by another thread's call in between.
  static const QRegularExpression zeile(QStringLiteral(R"(^(\d+)\s+([a-z0-9_]+)\()"));
  QSet<QString> zählend;  // threads between their markers
  long aufrufe = 0, listen = 0, syncs = 0, monat = 0;
  QMap<QString, long> je;
  while (!f.atEnd()) {
    const QString l = QString::fromUtf8(f.readLine());
    const QRegularExpressionMatch m = zeile.match(l);
    if (!m.hasMatch()) continue;
    const QString pid = m.captured(1), aufruf = m.captured(2);
    if (l.contains(QLatin1String(kMarkeAn))) {
      zählend.insert(pid);
      continue;
    }
    if (l.contains(QLatin1String(kMarkeAus))) {
      if (zählend.remove(pid)) ++z.arbeiten;
      continue;
    }
    if (!zählend.contains(pid) || Keine_Dateiaufrufe().contains(aufruf)) continue;
    ++aufrufe;
    ++je[aufruf];
    if ((aufruf == u"openat" || aufruf == u"open") && l.contains(QLatin1String("O_DIRECTORY"))) ++listen;
    if (aufruf == u"fsync" || aufruf == u"fdatasync") ++syncs;
    if ((aufruf == u"openat" || aufruf == u"open") && l.contains(QLatin1String(" Data.dat\""))) ++monat;
  }
  if (z.arbeiten == 0) return z;
  const double a = z.arbeiten;
  z.gezählt = true;
  z.aufrufe = aufrufe / a;
  z.listen = listen / a;
  z.syncs = syncs / a;
  z.monatsöffnungen = monat / a;
  for (auto it = je.cbegin(); it != je.cend(); ++it) z.je_Aufruf.insert(it.key(), it.value() / a);
  return z;
}

QString Dateizugriffe_Text(const Dateizugriffe& z) {
  QString r;
  for (auto it = z.je_Aufruf.cbegin(); it != z.je_Aufruf.cend(); ++it)
    r += QStringLiteral("%1=%2 ").arg(it.key()).arg(it.value(), 0, 'g', 3);
  return r.trimmed();
}

void Dateizugriffe_melden(benchmark::State& state, const QString& art, int n) {
  Dateizugriffe z;
  for (auto _ : state) z = Dateizugriffe_zählen(art, n);
  if (!z.gezählt) {
    state.SkipWithError("strace is missing or the counting run failed");
    return;
  }
  state.counters["Aufrufe"] = z.aufrufe;
  state.counters["Listen"] = z.listen;
  state.counters["Syncs"] = z.syncs;
  state.counters["Monat_geoeffnet"] = z.monatsöffnungen;
  state.SetLabel(Dateizugriffe_Text(z).toStdString());
}
