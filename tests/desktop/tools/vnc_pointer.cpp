// vnc_pointer SOCKET
// Drives a desktop's pointer through a VNC server listening on the UNIX
// socket SOCKET (wayvnc's virtual pointer on a headless compositor, which has
// no other). Each line "X Y BUTTONS" on standard input moves the pointer to
// the screen point (X, Y) with the buttons of the mask BUTTONS held (1 is the
// left one). Ends at the end of the input.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

int server = -1;

bool Read(void *data, std::size_t size)
{
    for (auto *at = static_cast<char *>(data); size > 0;) {
        const ssize_t got = read(server, at, size);
        if (got <= 0)
            return false;
        at += got, size -= std::size_t(got);
    }
    return true;
}

bool Write(const void *data, std::size_t size)
{
    return write(server, data, size) == ssize_t(size);
}

// The protocol's handshake as a shared client without a password: version,
// security type "none", its result, the client's and the server's init.
bool Handshake()
{
    std::vector<char> in(24);
    std::uint32_t result = 1, nameLength = 0;
    return Read(in.data(), 12) && Write("RFB 003.008\n", 12) && Read(in.data(), 1) && in[0] > 0 &&
           Read(in.data(), std::size_t(in[0])) && Write("\1", 1) && Read(&result, 4) &&
           result == 0 && Write("\1", 1) && Read(in.data(), 20) && Read(&nameLength, 4) &&
           (in.resize(ntohl(nameLength)), Read(in.data(), in.size()));
}

} // namespace

int main(int argc, char **argv)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (argc == 2)
        std::strncpy(address.sun_path, argv[1], sizeof address.sun_path - 1);
    server = socket(AF_UNIX, SOCK_STREAM, 0);
    if (argc != 2 || connect(server, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        !Handshake()) {
        std::fprintf(stderr, "usage: vnc_pointer SOCKET, a VNC server's that needs no password\n");
        return 1;
    }
    unsigned x = 0, y = 0, buttons = 0;
    while (std::scanf("%u %u %u", &x, &y, &buttons) == 3) {
        const std::uint8_t event[6] = {5,
                                       std::uint8_t(buttons),
                                       std::uint8_t(x >> 8),
                                       std::uint8_t(x),
                                       std::uint8_t(y >> 8),
                                       std::uint8_t(y)};
        if (!Write(event, sizeof event))
            return 1;
    }
}
