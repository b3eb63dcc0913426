#pragma once

#include "benchsupport.h"

#include "accounts/tform1.h"
#include "app/windowset.h"
#include "ui/spinedit.h"
#include "weight/tform2.h"

#include <QComboBox>
#include <QLineEdit>

#include <memory>

// Paul's account open in a scratch data folder holding the files given (an empty food database
// unless one is given), the six windows created.
class BenchAccount {
  public:
    BenchAccount(const QByteArray& accounts, const QByteArray& weights,
                 const QByteArray& foods = "[cat\xE9gories]\r\n") {
        WriteFile(m_dir.file(QStringLiteral("compte.ini")), accounts);
        WriteFile(m_dir.file(QStringLiteral("Paul.ini")), weights);
        if (!foods.isNull())
            WriteFile(m_dir.file(QStringLiteral("calories.ini")), foods);
        m_windows = std::make_unique<WindowSet>();
        Form1->ComboBox1->setEditText(QStringLiteral("Paul"));
        Form1->Edit2->setText(QStringLiteral("pw"));
        Form1->SpeedButton3Click();
    }
    QString file(const QString& name) const { return m_dir.file(name); }

  private:
    BenchDir m_dir;
    std::unique_ptr<WindowSet> m_windows;
};

inline void ShowMonthForBench(int month, int year) {
    Form2->CSpinEdit1->setValue(year);
    Form2->ComboBox1->setCurrentIndex(month - 1);
    Form2->ComboBox1Change();
}
