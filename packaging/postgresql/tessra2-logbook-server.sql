-- The team logbook of the Tessra2 service program on a PostgreSQL server.
--
-- Run once as a superuser (or the database's owner) in the team's database:
--     psql -d tessra2 -f tessra2-logbook-server.sql
-- It is safe to run again: it creates what is missing and changes nothing
-- else. It makes
--   - the table tessra2_logbook, one row per entry, its id the entry's own
--     (so an entry sent twice is kept once);
--   - the role tessra2_logbook_writer, which may read the entries and add
--     new ones, but not change or delete any. Give it to each technician's
--     login role:  CREATE ROLE anna LOGIN PASSWORD '...' IN ROLE tessra2_logbook_writer;

CREATE TABLE IF NOT EXISTS tessra2_logbook (
    id               uuid        PRIMARY KEY,
    time_utc         timestamptz NOT NULL,
    serial_number    text        NOT NULL,
    hardware_index   text        NOT NULL,
    model            integer     NOT NULL,
    firmware_version text        NOT NULL,
    kind             text        NOT NULL,
    summary          text        NOT NULL,
    details          jsonb       NOT NULL,
    files            jsonb       NOT NULL,
    os_user          text        NOT NULL,
    host             text        NOT NULL,
    program_version  text        NOT NULL,
    received_utc     timestamptz NOT NULL DEFAULT now()
);

-- A gauge's history, newest first.
CREATE INDEX IF NOT EXISTS tessra2_logbook_by_gauge
    ON tessra2_logbook (serial_number, time_utc DESC);

DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tessra2_logbook_writer') THEN
        CREATE ROLE tessra2_logbook_writer NOLOGIN;
    END IF;
END
$$;

REVOKE ALL ON tessra2_logbook FROM PUBLIC;
REVOKE ALL ON tessra2_logbook FROM tessra2_logbook_writer;
GRANT SELECT, INSERT ON tessra2_logbook TO tessra2_logbook_writer;
