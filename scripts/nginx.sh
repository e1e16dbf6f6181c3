# A throw-away HTTP file server for the file-transfer tests and the demo: nginx on 127.0.0.1 on
# a free port, serving a temporary folder, with PUT enabled. Source it after common.sh;
# velmora_start_nginx exports VELMORA_HTTP_PORT and VELMORA_HTTP_ROOT (the served folder; the
# access log is access.log beside it) and stops the server on exit.

velmora_free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

velmora_write_nginx_conf() { # <dir> <port>
    local user=""
    [ "$(id -u)" = 0 ] && user="user root;"
    cat >"$1/nginx.conf" <<CONF
$user
worker_processes 1;
pid $1/nginx.pid;
error_log $1/error.log;
events { worker_connections 64; }
http {
    access_log $1/access.log;
    client_body_temp_path $1/body;
    proxy_temp_path $1/proxy;
    fastcgi_temp_path $1/fastcgi;
    uwsgi_temp_path $1/uwsgi;
    scgi_temp_path $1/scgi;
    client_max_body_size 0;
    default_type application/octet-stream;
    server {
        listen 127.0.0.1:$2;
        root $1/root;
        location / {
            dav_methods PUT;
            create_full_put_path on;
            dav_access user:rw group:r all:r;
        }
    }
}
CONF
}

velmora_start_nginx() {
    VELMORA_NGINX_DIR=$(mktemp -d /tmp/velmora-nginx.XXXXXX)
    mkdir -p "$VELMORA_NGINX_DIR/root"
    # Combine with the EXIT trap already set (the wineserver's), don't replace it.
    local previous=""
    eval "set -- $(trap -p EXIT)"
    [ $# -ge 3 ] && previous=$3
    trap "velmora_stop_nginx; $previous" EXIT
    local port attempt
    for attempt in 1 2 3 4 5; do
        port=$(velmora_free_port)
        velmora_write_nginx_conf "$VELMORA_NGINX_DIR" "$port"
        if nginx -p "$VELMORA_NGINX_DIR" -e "$VELMORA_NGINX_DIR/error.log" \
            -c "$VELMORA_NGINX_DIR/nginx.conf" 2>>"$VELMORA_NGINX_DIR/start.log"; then
            export VELMORA_HTTP_PORT=$port VELMORA_HTTP_ROOT=$VELMORA_NGINX_DIR/root
            return 0
        fi
    done
    echo "could not start nginx:" >&2
    cat "$VELMORA_NGINX_DIR/start.log" >&2
    return 1
}

velmora_stop_nginx() {
    [ -n "${VELMORA_NGINX_DIR:-}" ] || return 0
    local pid=""
    [ -f "$VELMORA_NGINX_DIR/nginx.pid" ] && pid=$(cat "$VELMORA_NGINX_DIR/nginx.pid")
    if [ -n "$pid" ]; then
        kill -TERM "$pid" 2>/dev/null || true
        local i
        for i in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -rf "$VELMORA_NGINX_DIR"
    unset VELMORA_NGINX_DIR VELMORA_HTTP_PORT VELMORA_HTTP_ROOT
}
