#include "osinfo.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <pwd.h>
#include <unistd.h>

QString GetWindowsUserName()
{
    const passwd *pw = getpwuid(geteuid());
    return pw && pw->pw_name ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

QString GetLocalAddress()
{
    char host[1024] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
        return QString();

    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *result = nullptr;
    const int rc = getaddrinfo(host, nullptr, &hints, &result);
    if (rc == EAI_NODATA || rc == EAI_ADDRFAMILY)
        return QStringLiteral("127.0.0.1");   // the name is known, but has no IPv4 address
    if (rc != 0 || !result)
        return QString();

    QString address = QStringLiteral("127.0.0.1");
    for (const addrinfo *ai = result; ai; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(ai->ai_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            address = QString::fromLatin1(text);
        break;
    }
    freeaddrinfo(result);
    return address;
}
