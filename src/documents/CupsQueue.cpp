#include "documents/CupsQueue.h"

#include <QLibrary>
#include <cups/cups.h>

namespace fretloom {

using namespace Qt::StringLiterals;

// The CUPS client library, with its TLS, Kerberos and Avahi dependencies, costs start-up a
// sixth of a bare window's time. It is loaded on the first print instead; by then Qt's own print
// support has usually loaded it already. The types come from the headers.
#define FRETLOOM_CUPS_FUNCTIONS(F)                                                                 \
    F(cupsGetNamedDest)                                                                            \
    F(cupsGetOption)                                                                               \
    F(cupsFreeDests)                                                                               \
    F(cupsLastError)                                                                               \
    F(cupsLastErrorString)                                                                         \
    F(cupsDoRequest)                                                                               \
    F(ippNewRequest)                                                                               \
    F(ippAddString)                                                                                \
    F(ippFindAttribute)                                                                            \
    F(ippGetString)                                                                                \
    F(ippDelete)

struct CupsQueue::Api {
#define FRETLOOM_CUPS_POINTER(name) decltype(&::name) name = nullptr;
    FRETLOOM_CUPS_FUNCTIONS(FRETLOOM_CUPS_POINTER)
#undef FRETLOOM_CUPS_POINTER
};

namespace {

std::optional<CupsQueue::Api> loadCups() {
    // The library stays loaded: the last error that the job leaves is kept in it.
    QLibrary library(u"cups"_s, 2);
    if (!library.load())
        return std::nullopt;
    CupsQueue::Api api;
    bool complete = true;
#define FRETLOOM_CUPS_RESOLVE(name)                                                                \
    api.name = reinterpret_cast<decltype(api.name)>(library.resolve(#name));                       \
    complete = complete && api.name;
    FRETLOOM_CUPS_FUNCTIONS(FRETLOOM_CUPS_RESOLVE)
#undef FRETLOOM_CUPS_RESOLVE
    if (!complete)
        return std::nullopt;
    return api;
}

// The message a queue's operator left with it, such as the reason for turning jobs away.
QString stateMessage(const CupsQueue::Api& cups, const char* printerUri) {
    if (!printerUri)
        return {};
    ipp_t* request = cups.ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri);
    cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                      "printer-state-message");
    ipp_t* response = cups.cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QString message;
    if (response) {
        if (ipp_attribute_t* attribute =
                cups.ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT))
            message = QString::fromUtf8(cups.ippGetString(attribute, 0, nullptr));
        cups.ippDelete(response);
    }
    return message.trimmed();
}

}  // namespace

const CupsQueue::Api* CupsQueue::cups() {
    static const std::optional<Api> api = loadCups();
    return api ? &*api : nullptr;
}

CupsQueue::CupsQueue(const QString& printerName) : api_(cups()) {
    if (!api_)
        return;
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t* dest = api_->cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return;
    // A successful request also clears this thread's last CUPS error, so that afterwards the
    // error, if any, is the job's.
    known_ = api_->cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
    const char* accepting =
        api_->cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    if (accepting && qstrcmp(accepting, "false") == 0) {
        const QString why = stateMessage(
            *api_, api_->cupsGetOption("printer-uri-supported", dest->num_options, dest->options));
        refusal_ = why.isEmpty()
                       ? u"the printer \"%1\" does not take jobs at the moment."_s.arg(printerName)
                       : u"the printer \"%1\" does not take jobs at the moment (%2)."_s.arg(
                             printerName, why);
    }
    api_->cupsFreeDests(1, dest);
}

std::optional<QString> CupsQueue::jobRefusal() const {
    if (!known_ || api_->cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return std::nullopt;
    return u"the printer turned the job down (%1)."_s.arg(
        QString::fromLocal8Bit(api_->cupsLastErrorString()));
}

}  // namespace fretloom
