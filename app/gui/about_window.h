// TForm7, the about window: the program's picture, name and version, where the latest version is found
// (two link fields that open in the browser on a double-click), and the button "O K".
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace quorvel {

class TForm7 : public QDialog {
    Q_OBJECT

public:
    explicit TForm7(const QString& programDir, QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;  // the product
    QLabel* Label2 = nullptr;  // the version
    QLabel* Label3 = nullptr;  // "最新版入手先"
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Button1 = nullptr;
    // Opens an address with the desktop's opener; tests replace it.
    std::function<void(const QString&)> openAddress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quorvel
