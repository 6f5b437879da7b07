#include "reading/schools.h"

namespace reading {

std::optional<QString> applySchool(const QString& keyValue, Schools&) {
    return QStringLiteral("unknown school choice: ") + keyValue;  // filled in by the school choices
}

QStringList schoolChoices() { return {}; }

}  // namespace reading
