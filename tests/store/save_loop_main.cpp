// A child process for the durability test: stores cases with their judgment and feedback one
// after another and prints the number of each case once its save has returned, until killed.
#include <QCoreApplication>
#include <cstdio>

#include "store/case_store.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    auto db = store::Database::open(QString::fromLocal8Bit(argv[1]));
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    for (int i = 1;; ++i) {
        store::CastCase cast;
        cast.hexagramName = QStringLiteral("主卦：乾为天");
        cast.caseNumber = QStringLiteral("20240101111111京房式T:%1").arg(i);
        cast.category = QStringLiteral("杂类");
        cast.castDate = QDate(2024, 1, 1);
        cases.createCase(cast);
        if (!cases
                 .saveCaseTexts(store::TextsToSave::Both,
                                {QStringLiteral("断语%1").arg(i), QStringLiteral("反馈%1").arg(i)})
                 .saved)
            return 1;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
}
