#include "platform/x11_screen_source.h"

#include "platform/qt_screen_source.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cstring>

// Xlib's macros (None, Bool, Status...) clash with Qt's names, so it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace
{

// Xlib's error handler is a plain function for the whole process, and its
// default ends the process. While a trap lives, errors on its connection are
// recorded instead; errors on other connections (Qt's own, say) still go to the
// handler that was there before. The handler finds the innermost trap of its
// thread through this pointer, the only way Xlib leaves to reach it.
class ErrorTrap;
thread_local ErrorTrap *innermostTrap = nullptr;

class ErrorTrap
{
public:
    explicit ErrorTrap(Display *display)
        : m_display(display), m_outer(innermostTrap), m_previous(XSetErrorHandler(handle))
    {
        innermostTrap = this;
    }
    ~ErrorTrap()
    {
        XSetErrorHandler(m_previous);
        innermostTrap = m_outer;
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    // Requests without a reply report their errors only later; after sync()
    // every error of the requests made so far has been seen. Requests with a
    // reply need no sync: their errors arrive before the reply.
    void sync() { XSync(m_display, False); }
    bool failed() const { return m_error != 0; }

private:
    static int handle(Display *display, XErrorEvent *event)
    {
        for (ErrorTrap *trap = innermostTrap; trap; trap = trap->m_outer) {
            if (trap->m_display == display) {
                if (!trap->m_error)
                    trap->m_error = event->error_code;
                return 0;
            }
        }
        // The outermost trap of this thread knows the handler from before any
        // trap. An error on a thread without a trap has no one to go to.
        ErrorTrap *outermost = innermostTrap;
        while (outermost && outermost->m_outer)
            outermost = outermost->m_outer;
        if (!outermost || !outermost->m_previous)
            return 0;
        return outermost->m_previous(display, event);
    }

    Display *m_display;
    ErrorTrap *m_outer;
    XErrorHandler m_previous;
    int m_error = 0;
};

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage *image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

// An image over a shared segment: its pixels and its segment record belong to
// the segment, and XDestroyImage would free both.
struct SharedImageDestroyer {
    void operator()(XImage *image) const
    {
        image->data = nullptr;
        image->obdata = nullptr;
        XDestroyImage(image);
    }
};
using SharedImagePtr = std::unique_ptr<XImage, SharedImageDestroyer>;

// A shared-memory segment attached by this process and by the X server. It is
// marked for removal as soon as both have attached, so the system frees it
// when both let go, even if this process dies without cleaning up.
class SharedSegment
{
public:
    static std::unique_ptr<SharedSegment> attach(Display *display, std::size_t bytes)
    {
        const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id < 0)
            return nullptr;
        void *address = shmat(id, nullptr, 0);
        if (address == reinterpret_cast<void *>(-1)) {
            shmctl(id, IPC_RMID, nullptr);
            return nullptr;
        }
        std::unique_ptr<SharedSegment> segment(new SharedSegment(display));
        segment->m_info.shmid = id;
        segment->m_info.shmaddr = static_cast<char *>(address);
        segment->m_info.readOnly = False;

        // A server on another machine, or in another IPC namespace, cannot
        // attach: BadAccess, which the trap keeps from ending the process.
        ErrorTrap trap(display);
        const bool sent = XShmAttach(display, &segment->m_info);
        trap.sync();
        shmctl(id, IPC_RMID, nullptr);
        if (!sent || trap.failed())
            return nullptr; // detaches on our side only
        segment->m_serverAttached = true;
        return segment;
    }

    ~SharedSegment()
    {
        if (m_serverAttached) {
            ErrorTrap trap(m_display);
            XShmDetach(m_display, &m_info);
            trap.sync();
        }
        shmdt(m_info.shmaddr);
    }
    SharedSegment(const SharedSegment &) = delete;
    SharedSegment &operator=(const SharedSegment &) = delete;

    XShmSegmentInfo *info() { return &m_info; }

private:
    explicit SharedSegment(Display *display) : m_display(display) {}

    Display *m_display;
    XShmSegmentInfo m_info{};
    bool m_serverAttached = false;
};

// Where the 8-bit channels sit in one server pixel.
struct PixelLayout {
    int bytesPerPixel = 0; // 3 or 4
    bool mostSignificantFirst = false;
    int redShift = 0;
    int greenShift = 0;
    int blueShift = 0;
    // 32-bit pixels in this machine's byte order, laid out as 0x??RRGGBB: a
    // row converts by setting the top byte alone.
    bool matchesRgb32 = false;
};

// The shift of a mask that is exactly 8 contiguous bits at a byte boundary,
// or -1.
int byteShiftOf(unsigned long mask)
{
    for (int shift = 0; shift <= 24; shift += 8) {
        if (mask == 0xFFul << shift)
            return shift;
    }
    return -1;
}

int bitsPerPixelOf(Display *display, int depth)
{
    int count = 0;
    XPixmapFormatValues *formats = XListPixmapFormats(display, &count);
    int bits = 0;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    }
    if (formats)
        XFree(formats);
    return bits;
}

// Only TrueColor visuals with 8-bit channels are read: their pixels are their
// colours. Other visuals (colour maps, 16-bit) are left to the portable source.
bool layoutOf(Display *display, Visual *visual, int depth, PixelLayout &layout)
{
    if (visual->c_class != TrueColor || (depth != 24 && depth != 32))
        return false;
    const int bits = bitsPerPixelOf(display, depth);
    if (bits != 24 && bits != 32)
        return false;
    layout.bytesPerPixel = bits / 8;
    layout.mostSignificantFirst = ImageByteOrder(display) == MSBFirst;
    layout.redShift = byteShiftOf(visual->red_mask);
    layout.greenShift = byteShiftOf(visual->green_mask);
    layout.blueShift = byteShiftOf(visual->blue_mask);
    if (layout.redShift < 0 || layout.greenShift < 0 || layout.blueShift < 0)
        return false;
    const bool hostMostSignificantFirst = QSysInfo::ByteOrder == QSysInfo::BigEndian;
    layout.matchesRgb32 = bits == 32 && layout.mostSignificantFirst == hostMostSignificantFirst &&
                          layout.redShift == 16 && layout.greenShift == 8 && layout.blueShift == 0;
    return true;
}

// Where the compiler can pick among versions of a function by what the
// processor offers, the opaque row copy also comes in a version using AVX2's
// eight-pixel registers: it is most of the work of every pointer move.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
#define TG_PIXEL_LOOP_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TG_PIXEL_LOOP_CLONES
#endif

// 32-bit 0x??RRGGBB pixels to opaque ones: only the top byte is set. Sixteen
// pixels a step, then eight, in vectors of eight that every compiler for
// these targets turns into vector loads, ORs and stores.
TG_PIXEL_LOOP_CLONES void copyOpaqueRow(const uchar *source, QRgb *target, int width)
{
    using Pixels = quint32 __attribute__((vector_size(32)));
    const Pixels opaque = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u,
                           0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        Pixels low, high;
        std::memcpy(&low, source + std::ptrdiff_t(x) * 4, sizeof low);
        std::memcpy(&high, source + std::ptrdiff_t(x) * 4 + sizeof low, sizeof high);
        low |= opaque;
        high |= opaque;
        std::memcpy(target + x, &low, sizeof low);
        std::memcpy(target + x + 8, &high, sizeof high);
    }
    if (x + 8 <= width) {
        Pixels pixels;
        std::memcpy(&pixels, source + std::ptrdiff_t(x) * 4, sizeof pixels);
        pixels |= opaque;
        std::memcpy(target + x, &pixels, sizeof pixels);
        x += 8;
    }
    for (; x < width; ++x) {
        quint32 pixel;
        std::memcpy(&pixel, source + std::ptrdiff_t(x) * 4, sizeof pixel);
        target[x] = pixel | 0xFF000000u;
    }
}

void convertRow(const PixelLayout &layout, const uchar *source, QRgb *target, int width)
{
    if (layout.matchesRgb32) {
        copyOpaqueRow(source, target, width);
        return;
    }
    for (int x = 0; x < width; ++x, source += layout.bytesPerPixel) {
        quint32 pixel = 0;
        for (int i = 0; i < layout.bytesPerPixel; ++i) {
            const int byte = layout.mostSignificantFirst ? i : layout.bytesPerPixel - 1 - i;
            pixel = pixel << 8 | source[byte];
        }
        target[x] =
            qRgb(int(pixel >> layout.redShift) & 0xFF, int(pixel >> layout.greenShift) & 0xFF,
                 int(pixel >> layout.blueShift) & 0xFF);
    }
}

// The part of the rectangle at topLeft of the given size that lies in limit.
// Computed in 64 bits so that corners near the ends of int do not overflow.
QRect clipped(QPoint topLeft, QSize size, const QRect &limit)
{
    const qint64 left = std::max<qint64>(topLeft.x(), limit.x());
    const qint64 top = std::max<qint64>(topLeft.y(), limit.y());
    const qint64 right =
        std::min<qint64>(qint64(topLeft.x()) + size.width(), qint64(limit.x()) + limit.width());
    const qint64 bottom =
        std::min<qint64>(qint64(topLeft.y()) + size.height(), qint64(limit.y()) + limit.height());
    if (left >= right || top >= bottom)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// A shared image of this size covers the usual capture around the pointer; a
// larger request grows it once.
constexpr int INITIAL_SHARED_SIZE = 256;

} // namespace

struct X11ScreenSource::Connection {
    DisplayPtr display;
    Window root = 0;
    Visual *visual = nullptr;
    int depth = 0;
    PixelLayout layout;
    QSize rootSize;
    // Declared after the display so that they go before it closes, the image
    // (whose data is the segment) before the segment.
    std::unique_ptr<SharedSegment> segment;
    SharedImagePtr sharedImage;
    QSize sharedCapacity;
    ImagePtr requestedImage;
    QImage pixel{1, 1, QImage::Format_RGB32};

    // Whether only the monitors the application's screens show are read, as
    // QtScreenSource reads them; otherwise the whole root window is.
    bool followScreens = false;
    struct KnownScreen {
        const QScreen *screen;
        QRect geometry;
        qreal devicePixelRatio;
    };
    std::vector<KnownScreen> knownScreens;
    std::vector<QRect> monitors; // physical pixels on the root window
    // The parts of the current request that monitors show; kept between reads
    // so that planning one allocates nothing.
    std::vector<QRect> parts;

    bool useSharedMemory(QSize capacity);
    void followRootSize();
    void refreshRootSize();
    void followMonitors();
    QRect planParts(QPoint topLeft, QSize size);
    const XImage *fetch(const QRect &area);
    const XImage *fetchShared(const QRect &area);
    const XImage *fetchByRequest(const QRect &area);
    bool copyParts(const XImage &image, QPoint imageTopLeft, QPoint topLeft, QImage &target) const;
    bool copy(QPoint topLeft, QImage &target);
};

void X11ScreenSource::Connection::refreshRootSize()
{
    ErrorTrap trap(display.get());
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display.get(), root, &attributes) && !trap.failed())
        rootSize = QSize(attributes.width, attributes.height);
}

void X11ScreenSource::Connection::followRootSize()
{
    // The root window grows and shrinks with the monitors (RandR). Its
    // ConfigureNotify events come in with the replies to our reads, so
    // following them costs no round trip.
    while (XPending(display.get())) {
        XEvent event;
        XNextEvent(display.get(), &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == root)
            rootSize = QSize(event.xconfigure.width, event.xconfigure.height);
    }
}

void X11ScreenSource::Connection::followMonitors()
{
    // The root window often holds more than the monitors show: pixels beside
    // a smaller monitor or between two. Qt has already followed the monitors
    // for its screens, so their list is checked here, cheaply, on every read
    // and measured again only when it changed.
    if (!followScreens)
        return;
    const QList<QScreen *> screens = QGuiApplication::screens();
    bool same = std::size_t(screens.size()) == knownScreens.size();
    for (std::size_t i = 0; same && i < knownScreens.size(); ++i) {
        const QScreen *screen = screens[qsizetype(i)];
        same = knownScreens[i].screen == screen && knownScreens[i].geometry == screen->geometry() &&
               knownScreens[i].devicePixelRatio == screen->devicePixelRatio();
    }
    if (same)
        return;
    knownScreens.clear();
    for (const QScreen *screen : screens)
        knownScreens.push_back({screen, screen->geometry(), screen->devicePixelRatio()});
    monitors.clear();
    // Measured, not computed: a scaled monitor's size in physical pixels
    // need not survive the trip to logical pixels and back.
    for (const ScreenInfo &info : MeasuredScreenInfos())
        monitors.push_back(NativeGeometry(info));
    parts.reserve(monitors.size());
}

// Fills parts with what the monitors show of the request, clipped to the root
// window, and returns the smallest rectangle that holds them all: one read of
// it serves every part.
QRect X11ScreenSource::Connection::planParts(QPoint topLeft, QSize size)
{
    parts.clear();
    const QRect rootRect(QPoint(0, 0), rootSize);
    QRect bounds;
    auto add = [&](const QRect &shown) {
        const QRect part = clipped(topLeft, size, shown);
        if (part.isEmpty())
            return;
        parts.push_back(part);
        bounds |= part;
    };
    if (!followScreens) {
        add(rootRect);
        return bounds;
    }
    for (const QRect &monitor : monitors)
        add(monitor & rootRect);
    return bounds;
}

bool X11ScreenSource::Connection::useSharedMemory(QSize capacity)
{
    Display *dpy = display.get();
    // The header first: its bytes per line (with the server's padding) size
    // the segment.
    XShmSegmentInfo unset{};
    SharedImagePtr image(XShmCreateImage(dpy, visual, unsigned(depth), ZPixmap, nullptr, &unset,
                                         unsigned(capacity.width()), unsigned(capacity.height())));
    if (!image)
        return false;
    auto attached =
        SharedSegment::attach(dpy, std::size_t(image->bytes_per_line) * std::size_t(image->height));
    if (!attached)
        return false;
    sharedImage.reset();
    segment = std::move(attached);
    image->data = segment->info()->shmaddr;
    image->obdata = reinterpret_cast<char *>(segment->info());
    sharedImage = std::move(image);
    sharedCapacity = capacity;
    return true;
}

const XImage *X11ScreenSource::Connection::fetchShared(const QRect &area)
{
    if (area.width() > sharedCapacity.width() || area.height() > sharedCapacity.height()) {
        const QSize grown = sharedCapacity.expandedTo(area.size());
        if (!useSharedMemory(grown)) {
            sharedImage.reset();
            segment.reset();
            return fetchByRequest(area);
        }
    }
    // The server fills the image to its width and height with its own line
    // padding, so the header is narrowed to the area for this read.
    XImage &image = *sharedImage;
    image.width = area.width();
    image.height = area.height();
    image.bytes_per_line =
        ((area.width() * image.bits_per_pixel + image.bitmap_pad - 1) / image.bitmap_pad) *
        (image.bitmap_pad / 8);
    ErrorTrap trap(display.get());
    const bool done =
        XShmGetImage(display.get(), root, &image, area.x(), area.y(), AllPlanes) && !trap.failed();
    return done ? &image : nullptr;
}

const XImage *X11ScreenSource::Connection::fetchByRequest(const QRect &area)
{
    ErrorTrap trap(display.get());
    requestedImage.reset(XGetImage(display.get(), root, area.x(), area.y(), unsigned(area.width()),
                                   unsigned(area.height()), AllPlanes, ZPixmap));
    if (trap.failed())
        requestedImage.reset();
    return requestedImage.get();
}

const XImage *X11ScreenSource::Connection::fetch(const QRect &area)
{
    return sharedImage ? fetchShared(area) : fetchByRequest(area);
}

// Copies each planned part from image, which holds the root window from
// imageTopLeft on, into target, which shows the root from topLeft on. Returns
// whether target's centre pixel was among them.
bool X11ScreenSource::Connection::copyParts(const XImage &image, QPoint imageTopLeft,
                                            QPoint topLeft, QImage &target) const
{
    const QPoint centre(target.width() / 2, target.height() / 2);
    bool centreSupplied = false;
    // One detach check for the whole copy rather than one per row.
    uchar *const bits = target.bits();
    const qsizetype bytesPerLine = target.bytesPerLine();
    for (const QRect &part : parts) {
        const QPoint from = part.topLeft() - imageTopLeft;
        const QPoint at = part.topLeft() - topLeft;
        for (int y = 0; y < part.height(); ++y) {
            const auto *source = reinterpret_cast<const uchar *>(image.data) +
                                 std::ptrdiff_t(from.y() + y) * image.bytes_per_line +
                                 std::ptrdiff_t(from.x()) * layout.bytesPerPixel;
            auto *row = reinterpret_cast<QRgb *>(bits + (at.y() + y) * bytesPerLine) + at.x();
            convertRow(layout, source, row, part.width());
        }
        centreSupplied = centreSupplied || QRect(at, part.size()).contains(centre);
    }
    return centreSupplied;
}

bool X11ScreenSource::Connection::copy(QPoint topLeft, QImage &target)
{
    followRootSize();
    followMonitors();
    QRect area = planParts(topLeft, target.size());
    if (area.isEmpty())
        return false;
    const XImage *image = fetch(area);
    if (!image) {
        // A read fails (BadMatch) when the root shrank in a way the events
        // have not told yet; one more try with its size from the server.
        refreshRootSize();
        area = planParts(topLeft, target.size());
        image = area.isEmpty() ? nullptr : fetch(area);
    }
    return image && copyParts(*image, area.topLeft(), topLeft, target);
}

X11ScreenSource::X11ScreenSource(std::unique_ptr<Connection> connection)
    : m_connection(std::move(connection))
{
}

X11ScreenSource::~X11ScreenSource() = default;

std::unique_ptr<X11ScreenSource> X11ScreenSource::openForApplication(Transfer transfer)
{
    // A connection of our own to Qt's server rather than Qt's: its errors and
    // events stay ours, out of the queue Qt's xcb code owns.
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return nullptr;
    auto source = open(DisplayString(x11->display()), transfer);
    if (source)
        source->m_connection->followScreens = true;
    return source;
}

std::unique_ptr<X11ScreenSource> X11ScreenSource::open(const char *displayName, Transfer transfer)
{
    auto connection = std::make_unique<Connection>();
    connection->display.reset(XOpenDisplay(displayName));
    Display *dpy = connection->display.get();
    if (!dpy)
        return nullptr;
    const int screen = DefaultScreen(dpy);
    connection->root = RootWindow(dpy, screen);
    connection->visual = DefaultVisual(dpy, screen);
    connection->depth = DefaultDepth(dpy, screen);
    if (!layoutOf(dpy, connection->visual, connection->depth, connection->layout))
        return nullptr;
    XSelectInput(dpy, connection->root, StructureNotifyMask);
    connection->refreshRootSize();
    connection->parts.reserve(1);

    if (transfer == Transfer::SharedMemory && XShmQueryExtension(dpy))
        connection->useSharedMemory(QSize(INITIAL_SHARED_SIZE, INITIAL_SHARED_SIZE));
    return std::unique_ptr<X11ScreenSource>(new X11ScreenSource(std::move(connection)));
}

bool X11ScreenSource::usesSharedMemory() const
{
    return m_connection->sharedImage != nullptr;
}

COLORREF X11ScreenSource::pixelAt(QPoint point)
{
    // The one pixel is the centre of a 1 x 1 copy.
    if (!m_connection->copy(point, m_connection->pixel))
        return UNREADABLE_PIXEL;
    const QRgb pixel = m_connection->pixel.pixel(0, 0);
    return MakeColorRef(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

bool X11ScreenSource::copyRect(QPoint topLeft, QImage &target)
{
    // Opaque pixels are stored alike in these formats.
    const QImage::Format format = target.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    return m_connection->copy(topLeft, target);
}
