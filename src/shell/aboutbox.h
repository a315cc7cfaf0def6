#pragma once

#include <QDialog>

// "Névjegy": product name and version, the maker's contact and a picture.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(int fontSize, QWidget *parent = nullptr);
};
