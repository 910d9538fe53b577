// What the socket adds to the answer's parser (which fuzz_http_parser tries alone, fed in pieces):
// a server on 127.0.0.1 sends the input as its answer and closes, so the request goes out, the
// answer arrives in whatever pieces the connection gives, and its end may be the close alone.
// The parser's own properties are left to that target; this one is meant for short runs.

#include "FuzzSupport.h"
#include "link/HttpExchange.h"
#include "support/TestHttpServer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray answer = fuzz::bytes(data, size);
    TestHttpServer server(answer);

    HttpRequest request;
    request.host = QStringLiteral("127.0.0.1");
    request.port = server.port();
    request.target = "/ReportServlet?operation=sql";
    request.timeout = std::chrono::seconds(10);
    const HttpResponse response = performHttp(request);

    fuzz::expect("the request reached the server", server.requests().size() == 1 &&
                                                       server.requests().first().contains(request.target));
    fuzz::expect("a failed exchange says why", response.ok || !response.error.isEmpty());
    if (response.ok && !answer.toLower().contains("chunked"))
        fuzz::expect("a body not in chunks is a piece of the answer", answer.contains(response.body));
    return 0;
}
