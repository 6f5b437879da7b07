#pragma once
// Export and import through memory, for the tests of the case lines.
#include "store/case_transfer.h"

#include <QBuffer>

inline QByteArray exportAll(const store::Database& db, const store::ExportFilter& filter = {}) {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    store::exportCases(db, filter, out);
    return out.data();
}

inline store::ImportReport importBytes(store::Database& db, const QByteArray& bytes,
                                       store::ImportMode mode = store::ImportMode::AllOrNothing) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return store::importCases(db, in, mode);
}
