#pragma once
// What the main window keeps for completion. Lists are completion list texts ("|" between items).

#include <QString>

struct CompletionLists {
    QString AllTablesList;    // every table, name:caption, from the last connect command
    QString SearchResultList; // the tables that contain the text typed before the last "?"
    QString FieldList;        // the fields of the table last named before "." or "_"
};
