#include "documents/CupsQueue.h"

#include <cups/cups.h>

namespace fretloom {

using namespace Qt::StringLiterals;

namespace {

// The message a queue's operator left with it, such as the reason for turning jobs away.
QString stateMessage(const char* printerUri) {
    if (!printerUri)
        return {};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state-message");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QString message;
    if (response) {
        if (ipp_attribute_t* attribute =
                ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT))
            message = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
        ippDelete(response);
    }
    return message.trimmed();
}

}  // namespace

CupsQueue::CupsQueue(const QString& printerName) {
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return;
    // A successful request also clears this thread's last CUPS error, so that afterwards the
    // error, if any, is the job's.
    known_ = cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    if (accepting && qstrcmp(accepting, "false") == 0) {
        const QString why =
            stateMessage(cupsGetOption("printer-uri-supported", dest->num_options, dest->options));
        refusal_ = why.isEmpty()
                       ? u"the printer \"%1\" does not take jobs at the moment."_s.arg(printerName)
                       : u"the printer \"%1\" does not take jobs at the moment (%2)."_s.arg(
                             printerName, why);
    }
    cupsFreeDests(1, dest);
}

std::optional<QString> CupsQueue::jobRefusal() const {
    if (!known_ || cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return std::nullopt;
    return u"the printer turned the job down (%1)."_s.arg(
        QString::fromLocal8Bit(cupsLastErrorString()));
}

}  // namespace fretloom
