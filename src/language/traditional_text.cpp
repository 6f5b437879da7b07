#include "language/traditional_text.h"

namespace language {

QString toTraditional(const QString& simplified, Language) { return simplified; }

}  // namespace language
