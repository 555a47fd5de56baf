// A pseudo-language for tests: every letter accented where Latin has an accented form, and every
// word about 40 % longer, as German and French words often are. A text that does not fit, or one
// that is never passed through a translation, shows at once. Placeholders (%1, %n) stay as they
// are.
#pragma once

#include <QString>
#include <QTranslator>

QString Pseudo(const QString& english);

// Answers with the pseudo form of the English text every lookup of a text that the wizard's
// translations hold (those of `reference`, a .qm); other lookups find nothing, as in a real
// language.
class PseudoTranslator : public QTranslator {
public:
  explicit PseudoTranslator(const QString& reference);
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override;

private:
  QTranslator reference_;
};
