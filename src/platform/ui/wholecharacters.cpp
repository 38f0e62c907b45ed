#include "wholecharacters.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class WholeCharacters : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        QString whole;
        whole.reserve(input.size());
        int droppedBeforeCaret = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
                whole += c;
                whole += input.at(++i);
            } else if (c.isSurrogate()) {
                if (i < pos)
                    ++droppedBeforeCaret;
            } else {
                whole += c;
            }
        }
        if (whole.size() != input.size()) {
            input = whole;
            pos -= droppedBeforeCaret;
        }
        return Acceptable;
    }
};

} // namespace

void keepWholeCharacters(QLineEdit *field)
{
    Q_ASSERT(!field->validator());
    field->setValidator(new WholeCharacters(field));
}
