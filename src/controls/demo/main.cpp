// Try the colour picker by hand: every palette mode, with and without its own pop-up.
#include "controls/demo/ColorBoxDemo.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ColorBoxDemo demo;
    demo.show();
    return app.exec();
}
