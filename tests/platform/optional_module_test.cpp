// Modules loaded on demand: the program's own are found from the build tree and
// give their entry points; a missing module or entry point gives none, with a
// reason the operator can read.
#include "platform/optional_module.h"

#include <QtTest>

class OptionalModuleTest : public QObject {
  Q_OBJECT

 private slots:
  void findsTheProgramsModules() {
    for (const auto& [module, entry] : {std::pair{platform::kSoundModule, "kv_makeSoundOutput"},
                                        std::pair{platform::kWorkbookModule, "kv_workbookLibrary"}}) {
      QString error;
      QVERIFY2(platform::moduleEntry(module, entry, &error) != nullptr, qPrintable(error));
    }
  }

  void missingModulesAndEntriesAreReported() {
    QString error;
    QVERIFY(platform::moduleEntry("kv_no_such_module", "kv_entry", &error) == nullptr);
    QCOMPARE(error, QStringLiteral("找不到程序组件 libkv_no_such_module.so"));
    QVERIFY(platform::moduleEntry("kv_sound", "kv_no_such_entry", &error) == nullptr);
    QVERIFY2(error.contains(QStringLiteral("libkv_sound.so")) && error.contains(QStringLiteral("kv_no_such_entry")),
             qPrintable(error));
  }
};

QTEST_GUILESS_MAIN(OptionalModuleTest)
#include "optional_module_test.moc"
