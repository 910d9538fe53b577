#pragma once
// Where the servlet is and who is asking: the application fills it from its launch values.

#include <QString>

struct ServletSession {
    QString Host;
    int Port = 80;
    QString UserId;
    QString JsessionID;
};
