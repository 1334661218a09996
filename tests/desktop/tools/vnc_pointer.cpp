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

// The protocol's handshake without authentication, as a shared client.
bool Handshake()
{
    char version[12];
    std::uint8_t count = 0, none = 1, shared = 1;
    std::uint32_t result = 1, nameLength = 0;
    std::uint8_t init[20];
    if (!Read(version, sizeof version) || !Write("RFB 003.008\n", 12) || !Read(&count, 1))
        return false;
    std::vector<std::uint8_t> types(count);
    if (count == 0 || !Read(types.data(), count) || !Write(&none, 1) || !Read(&result, 4) ||
        result != 0 || !Write(&shared, 1) || !Read(init, sizeof init) || !Read(&nameLength, 4))
        return false;
    std::vector<char> name(ntohl(nameLength));
    return Read(name.data(), name.size());
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
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned x = 0, y = 0, buttons = 0;
        if (std::sscanf(line, "%u %u %u", &x, &y, &buttons) == 3) {
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
}
