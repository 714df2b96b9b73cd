// A sound server that has hung: it takes every connection on a Unix socket
// and never answers, never closes, until it is killed.
//
//   silent_server SOCKET
//
// It prints "ready" once the socket accepts connections.
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char** argv) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (argc != 2 || std::strlen(argv[1]) >= sizeof address.sun_path) {
        std::fprintf(stderr, "usage: silent_server SOCKET (a path shorter than %zu)\n", sizeof address.sun_path);
        return 2;
    }
    std::strcpy(address.sun_path, argv[1]);
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0) {
        std::perror("silent_server");
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    // Accepted connections are kept open and never read: the client waits
    // for an answer that never comes.
    for (;;) accept(listener, nullptr, nullptr);
}
