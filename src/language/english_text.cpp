#include "language/english_text.h"

#include "language/sentence_templates.h"

namespace language {

QString toEnglish(const QString& generated) {
    const SentenceTemplates& templates = SentenceTemplates::shipped();
    QStringList lines = generated.split(u'\n');
    for (QString& line : lines) {
        // A line of "\r\n" text keeps its carriage return; a line no template knows stays as it is.
        const bool cr = line.endsWith(u'\r');
        if (cr) line.chop(1);
        if (const auto english = templates.line(line)) line = *english;
        if (cr) line += u'\r';
    }
    return lines.join(u'\n');
}

}  // namespace language
