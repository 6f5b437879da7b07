#pragma once
// The reading assistant's results as JSON objects, with the keys the `reading --json` output uses.
#include <QJsonObject>

#include "reading/reading.h"

namespace cli {

QJsonObject readingToJson(const reading::ReadingRequest& request, const reading::UseGodReading& reading,
                          const reading::Structure& structure, const QList<reading::Spirit>& spirits);

}  // namespace cli
