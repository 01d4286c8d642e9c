/* Times, from X events, what a second process makes a running instance do under a window manager:
 *
 *   desktop-timer --active TITLE PROGRAM [ARGUMENT...]   until the window titled TITLE is _NET_ACTIVE_WINDOW
 *   desktop-timer --mapped TITLE PROGRAM [ARGUMENT...]   until a window titled TITLE is mapped
 *
 * The program gets a startup id stamped with the server's time, as from a launcher's click. Prints the
 * microseconds from just before the fork to the event that showed it; the title is read only after the
 * event's time is taken. A window manager reparents clients into frames, so the root only sees the frames
 * map: each new top-level window is watched on its own. Exits 1 when nothing of the kind happens within
 * 20 s. Needs DISPLAY. */
#define _POSIX_C_SOURCE 200809L

#include <xcb/xcb.h>

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long now_us(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

static xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), NULL);
    xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return result;
}

static int titled(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, const char *title)
{
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), NULL);
    int result = reply && (size_t)xcb_get_property_value_length(reply) == strlen(title)
                 && memcmp(xcb_get_property_value(reply), title, strlen(title)) == 0;
    free(reply);
    return result;
}

static xcb_window_t active(xcb_connection_t *c, xcb_window_t root, xcb_atom_t property)
{
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, property, XCB_ATOM_WINDOW, 0, 1), NULL);
    xcb_window_t result = reply && xcb_get_property_value_length(reply) == 4
                              ? *(xcb_window_t *)xcb_get_property_value(reply)
                              : XCB_WINDOW_NONE;
    free(reply);
    return result;
}

static void watch(xcb_connection_t *c, xcb_window_t window, uint32_t mask)
{
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
}

/* The server's time now: a property change on a window of our own carries it. */
static xcb_timestamp_t server_time(xcb_connection_t *c, xcb_window_t own)
{
    const uint32_t zero = 0;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, own, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, &zero);
    xcb_flush(c);
    xcb_generic_event_t *event;
    while ((event = xcb_wait_for_event(c))) {
        const int type = event->response_type & 0x7f;
        const xcb_timestamp_t time = ((xcb_property_notify_event_t *)event)->time;
        const xcb_window_t window = ((xcb_property_notify_event_t *)event)->window;
        free(event);
        if (type == XCB_PROPERTY_NOTIFY && window == own) {
            return time;
        }
    }
    return XCB_CURRENT_TIME;
}

int main(int argc, char **argv)
{
    if (argc < 4 || (strcmp(argv[1], "--active") != 0 && strcmp(argv[1], "--mapped") != 0)) {
        fprintf(stderr, "usage: desktop-timer --active|--mapped TITLE PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const int mapped = strcmp(argv[1], "--mapped") == 0;
    const char *title = argv[2];

    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "desktop-timer: cannot open the display\n");
        return 2;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t name = atom(c, "_NET_WM_NAME");
    const xcb_atom_t activeWindow = atom(c, "_NET_ACTIVE_WINDOW");
    const xcb_window_t own = xcb_generate_id(c);
    const uint32_t ownMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, own, screen->root, -10, -10, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &ownMask);
    watch(c, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
    if (mapped) {
        /* A window made earlier and only mapped now. */
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), NULL);
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree); ++i) {
            if (xcb_query_tree_children(tree)[i] != own) {
                watch(c, xcb_query_tree_children(tree)[i], XCB_EVENT_MASK_STRUCTURE_NOTIFY);
            }
        }
        free(tree);
    }

    char startup[96];
    snprintf(startup, sizeof startup, "desktop-timer-%d_TIME%u", (int)getpid(), (unsigned)server_time(c, own));
    setenv("DESKTOP_STARTUP_ID", startup, 1);

    const long long began = now_us();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    if (child < 0) {
        return 2;
    }

    const long long deadline = began + 20000000LL;
    long long seen = -1;
    while (seen < 0 && now_us() < deadline) {
        xcb_generic_event_t *event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c)) {
                break;
            }
            struct pollfd fd = {xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, 100);
            continue;
        }
        const long long at = now_us();
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const xcb_create_notify_event_t *created = (xcb_create_notify_event_t *)event;
            if (mapped && !created->override_redirect) {
                watch(c, created->window, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
                /* Mapped before the selection took effect: seen now, a little late rather than never. */
                xcb_get_window_attributes_reply_t *attributes =
                    xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, created->window), NULL);
                if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED
                    && titled(c, created->window, name, title)) {
                    seen = at;
                }
                free(attributes);
            }
            break;
        }
        case XCB_MAP_NOTIFY: {
            const xcb_map_notify_event_t *map = (xcb_map_notify_event_t *)event;
            if (mapped && map->event == map->window && titled(c, map->window, name, title)) {
                seen = at;
            }
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const xcb_property_notify_event_t *property = (xcb_property_notify_event_t *)event;
            if (!mapped && property->window == screen->root && property->atom == activeWindow) {
                const xcb_window_t window = active(c, screen->root, activeWindow);
                if (window != XCB_WINDOW_NONE && titled(c, window, name, title)) {
                    seen = at;
                }
            }
            break;
        }
        default:
            break;
        }
        free(event);
        xcb_flush(c);
    }
    int status = 0;
    waitpid(child, &status, 0);
    xcb_disconnect(c);
    if (seen < 0) {
        fprintf(stderr, "desktop-timer: nothing titled %s %s within 20 s\n", title, mapped ? "mapped" : "active");
        return 1;
    }
    printf("%lld\n", seen - began);
    return 0;
}
