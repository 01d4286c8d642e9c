/* Times a program's start-up from X events rather than by polling: it starts the program and waits for the
 * first MapNotify of a top-level window the program creates, then for that window's first Expose.
 *
 *   launch-timer [--keep | --handover] PROGRAM [ARGUMENT...]
 *
 * Prints "MAP_US EXPOSE_US" (microseconds from just before the fork) and ends the program with SIGTERM, or
 * with --keep prints "MAP_US EXPOSE_US PID" and leaves it running. With --handover the program is a second
 * process that hands its request to a running instance and ends; the window timed is the one the instance
 * maps. Exits 1 when the program ends first (without --handover), or nothing maps within 20 s. Needs
 * DISPLAY; nothing else may map top-level windows meanwhile. */
#define _POSIX_C_SOURCE 200809L

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
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

static void watch(xcb_connection_t *connection, xcb_window_t window, uint32_t mask)
{
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

int main(int argc, char **argv)
{
    int first = 1;
    int keep = 0;
    int handover = 0;
    if (argc > 1 && strcmp(argv[1], "--keep") == 0) {
        keep = 1;
        first = 2;
    } else if (argc > 1 && strcmp(argv[1], "--handover") == 0) {
        handover = 1;
        first = 2;
    }
    if (argc <= first) {
        fprintf(stderr, "usage: launch-timer [--keep | --handover] PROGRAM [ARGUMENT...]\n");
        return 2;
    }

    xcb_connection_t *connection = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(connection)) {
        fprintf(stderr, "launch-timer: cannot open the display\n");
        return 2;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    /* Round trip, so the root selection is in force before the program starts. */
    watch(connection, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), NULL));

    const long long start = now_us();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[first], argv + first);
        _exit(127);
    }

    long long mapped = -1;
    long long exposed = -1;
    xcb_window_t target = XCB_NONE;
    int ended = 0;
    struct pollfd descriptor = {xcb_get_file_descriptor(connection), POLLIN, 0};
    while (exposed < 0) {
        xcb_generic_event_t *event;
        while (exposed < 0 && (event = xcb_poll_for_event(connection)) != NULL) {
            const long long at = now_us();
            switch (event->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                /* Watch each new top-level window at once, before its owner can map it. */
                const xcb_create_notify_event_t *created = (const xcb_create_notify_event_t *)event;
                if (!created->override_redirect) {
                    watch(connection, created->window, XCB_EVENT_MASK_EXPOSURE);
                }
                break;
            }
            case XCB_MAP_NOTIFY: {
                const xcb_map_notify_event_t *map = (const xcb_map_notify_event_t *)event;
                if (target == XCB_NONE && !map->override_redirect) {
                    target = map->window;
                    mapped = at - start;
                }
                break;
            }
            case XCB_EXPOSE:
                if (((const xcb_expose_event_t *)event)->window == target) {
                    exposed = at - start;
                }
                break;
            default:
                break;
            }
            free(event);
        }
        if (exposed >= 0) {
            break;
        }
        if (!ended && waitpid(pid, NULL, WNOHANG) == pid) {
            ended = 1;
        }
        if (xcb_connection_has_error(connection) || (ended && !handover)) {
            fprintf(stderr, "launch-timer: %s ended before its window was shown\n", argv[first]);
            return 1;
        }
        if (now_us() - start > 20000000LL) {
            fprintf(stderr, "launch-timer: %s showed no window within 20 s\n", argv[first]);
            if (!ended) {
                kill(pid, SIGTERM);
            }
            return 1;
        }
        poll(&descriptor, 1, 100);
    }

    if (keep) {
        printf("%lld %lld %d\n", mapped, exposed, (int)pid);
    } else {
        printf("%lld %lld\n", mapped, exposed);
        if (!ended) {
            kill(pid, SIGTERM);
            waitpid(pid, NULL, 0);
        }
    }
    xcb_disconnect(connection);
    return 0;
}
