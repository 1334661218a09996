#include "screen/x11_screen_source.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <cstring>

// Xlib's macros (None, Bool, Status...) clash with Qt's names, so it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace
{

// Xlib reports errors to one handler for the whole process, with no pointer
// of ours, and its default ends the process. Ours records errors on our
// connection and hands everyone else's to the handler that was there before.
Display *trappedDisplay = nullptr;
int trappedError = 0;
XErrorHandler previousHandler = nullptr;

int recordError(Display *display, XErrorEvent *event)
{
    if (display == trappedDisplay) {
        trappedError = event->error_code;
        return 0;
    }
    return previousHandler ? previousHandler(display, event) : 0;
}

// The shift of a channel mask that is 8 bits at a byte boundary, or -1.
int byteShift(unsigned long mask)
{
    for (int shift = 0; shift <= 24; shift += 8) {
        if (mask == 0xFFul << shift)
            return shift;
    }
    return -1;
}

// A shared image's pixels and segment record are the segment's, which
// XDestroyImage would free as its own.
void destroySharedImage(XImage *image)
{
    image->data = nullptr;
    image->obdata = nullptr;
    XDestroyImage(image);
}

// The usual capture fits; larger requests go by GetImage.
constexpr int SHARED_SIZE = 256;

} // namespace

struct X11ScreenSource::Connection {
    Display *display = nullptr;
    Window root = 0;
    int bytesPerPixel = 0;
    int shifts[3] = {};      // red, green, blue
    bool plainRgb32 = false; // 0x??RRGGBB in this machine's byte order
    XShmSegmentInfo segment{};
    XImage *shared = nullptr;
    std::vector<QRect> monitors; // physical pixels, clipped to the root

    ~Connection()
    {
        if (shared) {
            XShmDetach(display, &segment);
            XSync(display, False);
            destroySharedImage(shared);
            shmdt(segment.shmaddr);
        }
        trappedDisplay = nullptr;
        XCloseDisplay(display);
    }

    // A segment the server cannot attach (another machine or IPC namespace)
    // leaves GetImage to do the reads. It is marked for removal once both
    // sides hold it, so it goes even if we die.
    void shareMemory(Visual *visual, int depth)
    {
        shared = XShmCreateImage(display, visual, unsigned(depth), ZPixmap, nullptr, &segment,
                                 SHARED_SIZE, SHARED_SIZE);
        if (!shared)
            return;
        segment.shmid = shmget(IPC_PRIVATE, std::size_t(shared->bytes_per_line) * SHARED_SIZE,
                               IPC_CREAT | 0600);
        segment.shmaddr = segment.shmid < 0 ? reinterpret_cast<char *>(-1)
                                            : static_cast<char *>(shmat(segment.shmid, nullptr, 0));
        trappedError = 0;
        bool attached =
            segment.shmaddr != reinterpret_cast<char *>(-1) && XShmAttach(display, &segment);
        XSync(display, False);
        attached = attached && trappedError == 0;
        if (segment.shmid >= 0)
            shmctl(segment.shmid, IPC_RMID, nullptr);
        if (attached) {
            shared->data = segment.shmaddr;
            return;
        }
        if (segment.shmaddr != reinterpret_cast<char *>(-1))
            shmdt(segment.shmaddr);
        destroySharedImage(shared);
        shared = nullptr;
    }

    // The root's pixels in area, by the cheapest way the server allows; the
    // caller destroys a requested image.
    XImage *fetch(const QRect &area)
    {
        trappedError = 0;
        if (shared && area.width() <= SHARED_SIZE && area.height() <= SHARED_SIZE) {
            // The server fills the image to its width with its own padding.
            shared->width = area.width();
            shared->height = area.height();
            shared->bytes_per_line =
                ((area.width() * shared->bits_per_pixel + shared->bitmap_pad - 1) /
                 shared->bitmap_pad) *
                (shared->bitmap_pad / 8);
            const bool done =
                XShmGetImage(display, root, shared, area.x(), area.y(), AllPlanes) != 0;
            return done && trappedError == 0 ? shared : nullptr;
        }
        XImage *image = XGetImage(display, root, area.x(), area.y(), unsigned(area.width()),
                                  unsigned(area.height()), AllPlanes, ZPixmap);
        if (image && trappedError != 0) {
            XDestroyImage(image);
            image = nullptr;
        }
        return image;
    }

    void convertRow(const uchar *source, QRgb *target, int width) const
    {
        if (plainRgb32) {
            for (int x = 0; x < width; ++x) {
                quint32 pixel;
                std::memcpy(&pixel, source + 4 * x, 4);
                target[x] = pixel | 0xFF000000u;
            }
            return;
        }
        const bool msbFirst = ImageByteOrder(display) == MSBFirst;
        for (int x = 0; x < width; ++x, source += bytesPerPixel) {
            quint32 pixel = 0;
            for (int i = 0; i < bytesPerPixel; ++i)
                pixel = pixel << 8 | source[msbFirst ? i : bytesPerPixel - 1 - i];
            target[x] = qRgb(int(pixel >> shifts[0]) & 0xFF, int(pixel >> shifts[1]) & 0xFF,
                             int(pixel >> shifts[2]) & 0xFF);
        }
    }
};

std::unique_ptr<X11ScreenSource> X11ScreenSource::openForApplication()
{
    // A connection of our own: its errors and events stay out of Qt's queue.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display =
        x11 && x11->display() ? XOpenDisplay(DisplayString(x11->display())) : nullptr;
    if (!display)
        return nullptr;
    auto c = std::make_unique<Connection>();
    c->display = display;
    trappedDisplay = display;
    if (!previousHandler)
        previousHandler = XSetErrorHandler(recordError);
    const int screen = DefaultScreen(display);
    c->root = RootWindow(display, screen);
    Visual *visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    int count = 0;
    XPixmapFormatValues *formats = XListPixmapFormats(display, &count);
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            c->bytesPerPixel = formats[i].bits_per_pixel / 8;
    }
    XFree(formats);
    c->shifts[0] = byteShift(visual->red_mask);
    c->shifts[1] = byteShift(visual->green_mask);
    c->shifts[2] = byteShift(visual->blue_mask);
    // Colour maps and 16-bit pixels are left to Qt's grabs.
    if (visual->c_class != TrueColor || (c->bytesPerPixel != 3 && c->bytesPerPixel != 4) ||
        c->shifts[0] < 0 || c->shifts[1] < 0 || c->shifts[2] < 0)
        return nullptr;
    const bool hostMsbFirst = QSysInfo::ByteOrder == QSysInfo::BigEndian;
    c->plainRgb32 = c->bytesPerPixel == 4 &&
                    (ImageByteOrder(display) == MSBFirst) == hostMsbFirst && c->shifts[0] == 16 &&
                    c->shifts[1] == 8 && c->shifts[2] == 0;
    if (XShmQueryExtension(display))
        c->shareMemory(visual, depth);
    return std::unique_ptr<X11ScreenSource>(new X11ScreenSource(std::move(c)));
}

X11ScreenSource::X11ScreenSource(std::unique_ptr<Connection> connection)
    : Server(std::move(connection))
{
}

X11ScreenSource::~X11ScreenSource() = default;

bool X11ScreenSource::copyRect(QPoint topLeft, QImage &target)
{
    // One read of the rectangle that holds every part the monitors show.
    const QRect wanted(topLeft, target.size());
    const std::vector<ScreenInfo> &screens = Screens.infos();
    QRect bounds;
    for (const ScreenInfo &info : screens)
        bounds |= nativeGeometry(info) & wanted;
    if (bounds.isEmpty())
        return false;
    XImage *image = Server->fetch(bounds);
    if (!image)
        return false;
    const QPoint centre = topLeft + QPoint(target.width() / 2, target.height() / 2);
    bool centreSupplied = false;
    for (const ScreenInfo &info : screens) {
        const QRect part = nativeGeometry(info) & wanted;
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const auto *source = reinterpret_cast<const uchar *>(image->data) +
                                 std::ptrdiff_t(y - bounds.y()) * image->bytes_per_line +
                                 std::ptrdiff_t(part.x() - bounds.x()) * Server->bytesPerPixel;
            auto *row = reinterpret_cast<QRgb *>(target.scanLine(y - topLeft.y())) +
                        (part.x() - topLeft.x());
            Server->convertRow(source, row, part.width());
        }
        centreSupplied = centreSupplied || part.contains(centre);
    }
    if (image != Server->shared)
        XDestroyImage(image);
    return centreSupplied;
}
