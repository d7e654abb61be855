// The allocator's freed pages go back to the system when asked: a burst of
// blocks freed below one still in use stays resident until then. The return
// comes once, a delay after the last of a run of requests.
#include "platform/memory_return.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

long residentKb() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return -1;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

}  // namespace

class MemoryReturnTest : public QObject {
  Q_OBJECT

 private slots:
  void freedPagesBelowABlockInUseGoBack() {
#if !defined(__GLIBC__)
    QSKIP("the allocator is not glibc's");
#endif
    std::vector<char*> burst;
    for (int i = 0; i < 8000; ++i) {
      burst.push_back(static_cast<char*>(std::malloc(4000)));
      std::memset(burst.back(), 1, 4000);
    }
    char* stillInUse = static_cast<char*>(std::malloc(4000));
    std::memset(stillInUse, 1, 4000);
    for (char* block : burst) std::free(block);
    const long kept = residentKb();
    platform::FreedMemoryReturn::returnNow();
    const long returned = residentKb();
    std::free(stillInUse);
    QVERIFY2(kept - returned > 20000, qPrintable(QStringLiteral("%1 kB before, %2 kB after").arg(kept).arg(returned)));
  }

  // A roll's frames ask again and again: the return waits for the last request.
  void returnsOnceTheDelayAfterTheLastRequest() {
    constexpr int delayMs = 150;
    int returns = 0;
    qint64 msAfterLastRequest = -1;
    QElapsedTimer sinceLastRequest;
    platform::FreedMemoryReturn memoryReturn(delayMs, nullptr, [&] {
      ++returns;
      msAfterLastRequest = sinceLastRequest.elapsed();
    });
    memoryReturn.schedule();
    QTest::qWait(delayMs / 2);
    memoryReturn.schedule();
    sinceLastRequest.start();
    QTRY_COMPARE_WITH_TIMEOUT(returns, 1, 5000);
    // A coarse timer may fire up to 5 % early.
    QVERIFY2(msAfterLastRequest >= delayMs * 95 / 100, qPrintable(QString::number(msAfterLastRequest)));
    QTest::qWait(2 * delayMs);
    QCOMPARE(returns, 1);
  }
};

QTEST_GUILESS_MAIN(MemoryReturnTest)
#include "memory_return_test.moc"
