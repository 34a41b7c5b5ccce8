// TForm11, the web address window: the address of a record to load, picked from the last five or typed.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "app/web_records.h"

namespace quorvel {

class TForm11 : public QDialog {
    Q_OBJECT

public:
    explicit TForm11(QWidget* mainWindow);

    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    // The list shows slots 1..count, and the box slot 1.
    void Fill(const FiveEntryList& list);
    // The address as typed, in the program's encoding.
    std::string Url() const;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace quorvel
