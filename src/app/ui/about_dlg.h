#pragma once
// CAboutDlg ("LYRのﾊﾞｰｼﾞｮﾝ情報"): the program icon, its version and what it is for.
#include <QDialog>

class QLabel;
class QPushButton;

namespace lyr::app {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }
    QLabel* productLabel() const { return product_; }
    QPushButton* okButton() const { return ok_; }

private:
    QLabel* icon_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* product_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace lyr::app
