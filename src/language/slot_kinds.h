#pragma once
// The slot forms of the sentence templates that are not one glossary kind: pillars, line items,
// positions, dates and numbers, and the pieces translated on their own or kept as they are.
#include <QString>
#include <functional>
#include <optional>

#include "language/glossary.h"

namespace language::slotforms {

// The regular expression of a form (no capturing groups), or none for a name that is no form.
std::optional<QString> formPattern(const QString& form, const Glossary& glossary);

// The English of what a slot of the form holds; none when it cannot be read (a phrase no
// template knows). phrase translates one piece by the phrase templates.
std::optional<QString> renderForm(const QString& form, const QString& captured, const Glossary& glossary,
                                  const std::function<std::optional<QString>(const QString&)>& phrase);

// The expression matching any term of the kinds, longest first (no capturing groups).
QString termsPattern(const QStringList& kinds, const Glossary& glossary);

// A pillar (stem and branch) in English: "Jiǎ-Zǐ".
QString pillarEnglish(const QString& pillar, const Glossary& glossary);

}  // namespace language::slotforms
