#pragma once
// What the two password dialogs share: the caption, Arial labels beside
// text fields that show "*" for each character, OK as the default button
// (Enter) and Cancel as the cancel button (Escape), and the activation
// handler, run once each time the dialog is shown. The dialog stays above
// the full-screen show.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace password {

class PasswordDialog : public QDialog {
public:
    inline static const QString kCaption = QStringLiteral("ZOR Screensaver Password");

protected:
    // One row per label text, each with its field, in order.
    explicit PasswordDialog(const std::vector<QString>& labels);

    virtual void Form_Activate() = 0;
    virtual void cmdOK_Click() = 0;
    virtual void cmdCancel_Click() = 0;

    // Back into field with its whole text selected, so that typing replaces it.
    static void SelectAgain(QLineEdit& field);

    std::vector<QLabel*> lblLabels;
    std::vector<QLineEdit*> fields_;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    bool event(QEvent* event) override;
    void reject() override;  // Escape and the window's close: Cancel

private:
    bool activated_ = false;
};

}  // namespace password
