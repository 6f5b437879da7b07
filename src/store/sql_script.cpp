#include "store/sql_script.h"

namespace store {

QStringList splitSqlScript(const QString& script) {
    QStringList statements;
    QString current;
    bool inQuote = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (inQuote) {
            current += c;
            if (c == u'\'') inQuote = false;  // a doubled quote re-enters at the next character
            continue;
        }
        if (c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
            while (i < script.size() && script[i] != u'\n') ++i;
            current += u'\n';
            continue;
        }
        if (c == u';') {
            const QString statement = current.trimmed();
            if (statement.startsWith(QStringLiteral("CREATE TRIGGER"), Qt::CaseInsensitive) &&
                !statement.endsWith(QStringLiteral("END"), Qt::CaseInsensitive)) {
                current += c;
                continue;
            }
            if (!statement.isEmpty()) statements << statement;
            current.clear();
            continue;
        }
        if (c == u'\'') inQuote = true;
        current += c;
    }
    const QString rest = current.trimmed();
    if (!rest.isEmpty()) statements << rest;
    return statements;
}

}  // namespace store
