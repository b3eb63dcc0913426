#pragma once

// Random short texts for the property tests of the field rules: made mostly of the characters a
// rule decides on (digits, separators, signs, blanks, line breaks, quotes, the characters of the
// file form, letters inside and outside Windows-1252). The seed is fixed so that a failure can be
// run again; the test names the text that failed.

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

class RandomTexts {
  public:
    explicit RandomTexts(quint32 seed) : m_random(seed) {}

    QString Next() {
        static const QString alphabet = QStringLiteral("0123456789012345,,,...--+ \t\r\n\"'[]=;aEé€\x1a") +
                                        QChar(0x141) /* Ł */ + QChar(0x2028);
        QString text;
        const int length = int(m_random.bounded(9));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(int(m_random.bounded(int(alphabet.size()))));
        return text;
    }

  private:
    QRandomGenerator m_random;
};
