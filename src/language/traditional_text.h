#pragma once
// 简体 → 繁體 for generated texts: OpenCC's s2twp (Taiwan) or s2hk (Hong Kong) profile, then the
// field's own choices where OpenCC's differ (地支 丑 is never 醜, 六沖 …).
#include <QString>

#include "language/language.h"

namespace language {

// `region` is TraditionalTaiwan or TraditionalHongKong; any other language returns the text.
QString toTraditional(const QString& simplified, Language region);

// Whether a 繁體 text holds no simplified character: OpenCC's s2tw (characters and Taiwan's
// standard forms such as 群, but no regional wording such as 算法 → 演算法) with the field's
// choices leaves it as it is.
bool holdsNoSimplified(const QString& text);

}  // namespace language
