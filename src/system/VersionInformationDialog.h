#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "platform/Desktop.h"
#include "platform/System.h"

namespace nagitori {

// The version dialog: product, version, rights notice, icon and a link to the maker's web site.
class TVersionInformation : public QDialog {
    Q_OBJECT
public:
    TVersionInformation(System& system, Desktop& desktop, QWidget* owner);

    // Opens the clicked address with the shell; the dialog stays open whatever the shell answers.
    void siteLinkClick(const QString& address);

    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* site;
    QPushButton* OK;

protected:
    // Esc presses OK, which is the cancel button too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    System& system_;
};

// Creates the version dialog over its owner, shows it modally and destroys it.
void ShowVersionInformation(System& system, Desktop& desktop, QWidget* owner);

}  // namespace nagitori
