// The allocator's freed pages go back to the system when asked: a burst of
// blocks freed below one still in use stays resident until then. The return
// comes once, a delay after the last of a run of requests.
#include "platform/memory_return.h"

#include <unistd.h>

#include <QFile>
#include <QtTest>
#include <cstdlib>
#include <cstring>
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

  // A roll's frames ask again and again: the return waits for the last request,
  // and comes once.
  void returnsOnceTheDelayAfterTheLastRequest() {
    constexpr int delayMs = 400;
    int returns = 0;
    platform::FreedMemoryReturn memoryReturn(delayMs, nullptr, [&] { ++returns; });
    const QTimer& delay = memoryReturn.timer();
    QVERIFY(delay.isSingleShot());
    QCOMPARE(delay.interval(), delayMs);
    QSignalSpy due(&delay, &QTimer::timeout);
    memoryReturn.schedule();
    QVERIFY(delay.isActive());
    // Half the delay gone, another request starts it again.
    QTRY_VERIFY(delay.remainingTime() < delayMs / 2);
    QCOMPARE(returns, 0);
    memoryReturn.schedule();
    QVERIFY(delay.remainingTime() > delayMs / 2);
    QVERIFY(due.wait(5000));
    QCOMPARE(returns, 1);
    QVERIFY(!delay.isActive());  // nothing more is due
  }
};

QTEST_GUILESS_MAIN(MemoryReturnTest)
#include "memory_return_test.moc"
