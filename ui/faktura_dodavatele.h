#pragma once
// TFakturaDodavatele: the commands of the review window "Faktura dodavatele", in which the
// clerk checks a supplier's e-invoice (ISDOC) before it becomes a source document. It
// lists the invoice's lines with the card found for each, or why none was; the clerk picks
// a card for a line with the assortment picker, leaves a line out, creates a missing
// supplier after a question, and writes. Escape writes nothing.

#include "core/form_commands.h"
#include "isdoc/isdoc_document.h"

#include <QString>
#include <QStringList>
#include <Qt>

class TFakturaDodavatele : public FormCommands {
    Q_OBJECT
public:
    enum Control { Grid };

    using FormCommands::FormCommands;

    // The document the invoice makes, as the clerk has changed it so far.
    IsdocDocument Doc;
    // The line the clerk stands on (an index of Doc.items).
    int Current = 0;
    // HLA_DO1 of the document written; empty until then.
    QString Number;

    // Reads the invoice file and makes its document. A file the reader refuses, or an
    // invoice that cannot be written (a credit note, …), is shown as a message and gives
    // false: the window is not to be shown. A shortened invoice number is told.
    bool Load(const QString &path);

    // The window's keys, seen before the list: Escape closes without writing, F4 and
    // Enter pick a card for the current line, Delete leaves it out (or takes it back),
    // F2 creates the missing supplier, F9 writes. True when the key ran a command.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

    // "F4 Karta": the assortment picker, at the remembered card; the card chosen becomes
    // the current line's (a withdrawn card is refused with a message).
    void PickCard();
    // "Del Vynechat": the current line is left out of the document, or taken back.
    void ToggleOmit();
    // "F2 Dodavatel": when the invoice's supplier is not in the register, asks whether to
    // create it and does so; the fields cut to their size are told. True when the document
    // has a supplier afterwards.
    bool CreateSupplier();
    // "F9 Zapsat": when every line has a card or is left out and the document has a
    // supplier (created after the question when missing), asks before writing a second
    // document of the same supplier and invoice number, writes the document and closes
    // with OK; Number holds its HLA_DO1. Otherwise says what is missing and stays open.
    void Write();
    // "Storno", Escape: closes with Cancel, writing nothing.
    void Cancel() { CloseWith(mrCancel); }

signals:
    // The document or the current line changed: the window shows it again.
    void changed();
};
