-- tpfw's records in PostgreSQL: one row per run, the whole record as jsonb
-- beside the columns a query needs most. Run as a superuser, in the database
-- the records go to (the password is the one tpfw-central-pgsql.conf signs
-- in with):
--
--   createdb tpfw
--   psql -d tpfw -v ingest_password='…' -f tpfw.sql
--
-- Run again, with this tpfw's file, to bring a database made by an earlier
-- one up to date: its rows are kept, columns added since are added.
--
-- rsyslog signs in as tpfw_ingest, which may only add rows; people who ask
-- the records questions get tpfw_reader
-- (CREATE ROLE <login> LOGIN PASSWORD '…' IN ROLE tpfw_reader).

-- Run again, what is already there is passed over without a word.
SET client_min_messages = warning;

CREATE TABLE IF NOT EXISTS tpfw_runs (
    run_id      uuid PRIMARY KEY,
    station     text,
    host        text,
    unit        text,
    operator    text,
    -- The signed release the images were checked against, by name.
    release     text,
    tp_size     text,
    sensitivity text,
    outcome     text,
    exit_code   integer,
    started     timestamptz,
    ended       timestamptz,
    -- When the row was stored: how long a record took to arrive.
    arrived     timestamptz NOT NULL DEFAULT clock_timestamp(),
    record      jsonb NOT NULL,
    -- The record held what jsonb cannot: a NUL (kept as the text \u0000),
    -- or it is no JSON at all (kept whole as the text of "unreadable").
    altered     boolean NOT NULL DEFAULT false
);
-- Added since the first tpfw.sql.
ALTER TABLE tpfw_runs ADD COLUMN IF NOT EXISTS release text, ADD COLUMN IF NOT EXISTS altered boolean NOT NULL DEFAULT false;
-- Serials and names are indexed by their hash: a value of any length, as a
-- hand-edited record may hold, is stored and found. (The first tpfw.sql
-- indexed them as they are, which a long value does not fit.)
DROP INDEX IF EXISTS tpfw_runs_unit, tpfw_runs_station;
CREATE INDEX tpfw_runs_unit ON tpfw_runs USING hash (unit);
CREATE INDEX IF NOT EXISTS tpfw_runs_started ON tpfw_runs (started);
CREATE INDEX tpfw_runs_station ON tpfw_runs USING hash (station);
CREATE INDEX IF NOT EXISTS tpfw_runs_release ON tpfw_runs USING hash (release);

-- A value that is not what its column holds is left null rather than
-- refused: rsyslog would offer a refused row again and again, and hold up
-- every record behind it.
CREATE OR REPLACE FUNCTION tpfw_uuid(value text) RETURNS uuid LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN value::uuid;
EXCEPTION WHEN others THEN
    RETURN NULL;
END $$;

CREATE OR REPLACE FUNCTION tpfw_time(value text) RETURNS timestamptz LANGUAGE plpgsql STABLE AS $$
BEGIN
    RETURN value::timestamptz;
EXCEPTION WHEN others THEN
    RETURN NULL;
END $$;

CREATE OR REPLACE FUNCTION tpfw_integer(value text) RETURNS integer LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN value::integer;
EXCEPTION WHEN others THEN
    RETURN NULL;
END $$;

-- rsyslog hands over the record alone; its columns are taken from it here,
-- before the key is checked, so a record delivered twice meets its own
-- run_id and is left out. A record of tpfw 1.0.0 has no runId: the digest
-- of the record stands in for it.
CREATE OR REPLACE FUNCTION tpfw_runs_columns() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    NEW.run_id := coalesce(tpfw_uuid(NEW.record->>'runId'), md5(NEW.record::text)::uuid);
    NEW.station := NEW.record->>'station';
    NEW.host := NEW.record->>'host';
    NEW.unit := NEW.record->>'unit';
    NEW.operator := NEW.record->>'operator';
    NEW.release := NEW.record->'release'->>'name';
    NEW.tp_size := NEW.record->>'tpSize';
    NEW.sensitivity := NEW.record->>'sensitivity';
    NEW.outcome := NEW.record->>'outcome';
    NEW.exit_code := tpfw_integer(NEW.record->>'exitCode');
    NEW.started := tpfw_time(NEW.record->>'started');
    NEW.ended := tpfw_time(NEW.record->>'ended');
    RETURN NEW;
END $$;

CREATE OR REPLACE TRIGGER tpfw_runs_columns BEFORE INSERT ON tpfw_runs
    FOR EACH ROW EXECUTE FUNCTION tpfw_runs_columns();

-- Every line as it arrived, once, by its SHA-256: the evidence behind the
-- rows. A station's history is a chain (each record's seq and prev, the hash
-- of the line before it); a line that repeats a seq with other bytes is kept
-- beside the first, never in its place.
CREATE TABLE IF NOT EXISTS tpfw_lines (
    line_sha256 text PRIMARY KEY,
    line        text NOT NULL,
    -- The history it is of: each user of each host keeps one.
    host        text,
    user_name   text,
    station     text,
    seq         bigint,
    prev        text,
    arrived     timestamptz NOT NULL DEFAULT clock_timestamp()
);
CREATE INDEX IF NOT EXISTS tpfw_lines_history ON tpfw_lines (host, user_name, seq);
-- The line each row was taken from.
ALTER TABLE tpfw_runs ADD COLUMN IF NOT EXISTS line_sha256 text;

CREATE OR REPLACE FUNCTION tpfw_bigint(value text) RETURNS bigint LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN value::bigint;
EXCEPTION WHEN others THEN
    RETURN NULL;
END $$;

CREATE OR REPLACE FUNCTION tpfw_sha256(line text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE
    RETURN encode(sha256(convert_to(line, 'UTF8')), 'hex');

-- The record a line makes, and whether jsonb had to change it: a NUL is kept
-- as the text \u0000, what is no JSON at all whole as "unreadable".
-- (Restricted: a subtransaction, as each EXCEPTION block is, cannot be
-- begun in a parallel worker; the rest of a query can still be.)
CREATE OR REPLACE FUNCTION tpfw_taken(line text, OUT made jsonb, OUT altered boolean)
    LANGUAGE plpgsql IMMUTABLE PARALLEL RESTRICTED AS $$
BEGIN
    altered := false;
    made := line::jsonb;
EXCEPTION WHEN others THEN
    altered := true;
    BEGIN
        made := replace(line, '\u0000', '\\u0000')::jsonb;
    EXCEPTION WHEN others THEN
        made := jsonb_build_object('unreadable', line);
    END;
END $$;

-- rsyslog hands each record over as the text it arrived as: every record
-- becomes a row, whatever jsonb makes of it.
CREATE OR REPLACE VIEW tpfw_arrivals AS SELECT NULL::text AS line WHERE false;

CREATE OR REPLACE FUNCTION tpfw_arrive() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    taken record;
    hash text := tpfw_sha256(NEW.line);
BEGIN
    SELECT * INTO taken FROM tpfw_taken(NEW.line);
    INSERT INTO tpfw_lines (line_sha256, line, host, user_name, station, seq, prev)
    VALUES (hash, NEW.line, taken.made->>'host', taken.made->>'user', taken.made->>'station',
            tpfw_bigint(taken.made->>'seq'), taken.made->>'prev')
    ON CONFLICT DO NOTHING;
    INSERT INTO tpfw_runs (record, altered, line_sha256) VALUES (taken.made, taken.altered, hash)
    ON CONFLICT DO NOTHING;
    RETURN NEW;
END $$;

-- What arrived stays as it arrived: only the tables' owner may change or
-- remove it, whatever rights are granted.
CREATE OR REPLACE FUNCTION tpfw_kept() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF NOT pg_has_role(current_user, (SELECT relowner FROM pg_class WHERE oid = TG_RELID), 'MEMBER') THEN
        RAISE EXCEPTION 'tpfw keeps % as it arrived: only its owner may change it', TG_TABLE_NAME
            USING ERRCODE = 'insufficient_privilege';
    END IF;
    RETURN CASE TG_OP WHEN 'DELETE' THEN OLD ELSE NEW END;
END $$;
CREATE OR REPLACE TRIGGER tpfw_runs_kept BEFORE UPDATE OR DELETE ON tpfw_runs
    FOR EACH ROW EXECUTE FUNCTION tpfw_kept();
CREATE OR REPLACE TRIGGER tpfw_runs_kept_whole BEFORE TRUNCATE ON tpfw_runs
    FOR EACH STATEMENT EXECUTE FUNCTION tpfw_kept();
CREATE OR REPLACE TRIGGER tpfw_lines_kept BEFORE UPDATE OR DELETE ON tpfw_lines
    FOR EACH ROW EXECUTE FUNCTION tpfw_kept();
CREATE OR REPLACE TRIGGER tpfw_lines_kept_whole BEFORE TRUNCATE ON tpfw_lines
    FOR EACH STATEMENT EXECUTE FUNCTION tpfw_kept();

-- Where a history's chain does not hold, by history (host and user) and
-- seq, with the station's name as its record gives it:
--   missing   seq and what follows it, up to the next seq that arrived, never did
--   repeated  two lines with this seq and other bytes (edited, re-chained,
--             or written again after its tail was dropped)
--   unlinked  its prev is not the hash of any line stored with the seq
--             before it (that one was changed before it was shipped)
--   altered   a line, or the row taken from it, is not what arrived
CREATE OR REPLACE VIEW tpfw_chain_breaks AS
WITH chained AS (
    SELECT station, host, user_name, seq, prev, line_sha256, coalesce(host, '') AS h, coalesce(user_name, '') AS u
    FROM tpfw_lines WHERE seq IS NOT NULL
), taken AS (
    SELECT h, u, seq, min(station) AS station, min(host) AS host, min(user_name) AS user_name,
           array_agg(line_sha256) AS hashes, lag(seq) OVER (PARTITION BY h, u ORDER BY seq) AS before
    FROM chained GROUP BY h, u, seq
)
SELECT station, host, user_name, coalesce(before, 0) + 1 AS seq, 'missing'::text AS kind
FROM taken WHERE seq > coalesce(before, 0) + 1
UNION ALL
SELECT station, host, user_name, seq, 'repeated' FROM taken WHERE cardinality(hashes) > 1
UNION ALL
SELECT c.station, c.host, c.user_name, c.seq, 'unlinked'
FROM chained AS c LEFT JOIN taken AS b ON b.h = c.h AND b.u = c.u AND b.seq = c.seq - 1
WHERE CASE WHEN c.seq = 1 THEN c.prev IS DISTINCT FROM repeat('0', 64)
           ELSE b.seq IS NOT NULL AND NOT coalesce(c.prev = ANY (b.hashes), false) END
UNION ALL
-- A line changed since it came, or a row no longer the JSON of its line;
-- the few rows jsonb made of what it could not take whole apart, as the
-- parallel workers that read the rest cannot take them so.
SELECT l.station, l.host, l.user_name, l.seq, 'altered'
FROM tpfw_lines AS l LEFT JOIN tpfw_runs AS r ON r.line_sha256 = l.line_sha256 AND NOT r.altered
WHERE CASE WHEN l.line_sha256 <> tpfw_sha256(l.line) THEN true
           WHEN r.run_id IS NULL THEN false
           ELSE r.record <> l.line::jsonb END
UNION ALL
SELECT l.station, l.host, l.user_name, l.seq, 'altered'
FROM tpfw_runs AS r JOIN tpfw_lines AS l ON l.line_sha256 = r.line_sha256
WHERE r.altered AND l.line_sha256 = tpfw_sha256(l.line) AND r.record IS DISTINCT FROM (tpfw_taken(l.line)).made;

CREATE OR REPLACE TRIGGER tpfw_arrive INSTEAD OF INSERT ON tpfw_arrivals
    FOR EACH ROW EXECUTE FUNCTION tpfw_arrive();

-- The day a run started on at its station, as the station's clock read it
-- (the record's start keeps the station's offset): the day the station's own
-- counts are of.
CREATE OR REPLACE FUNCTION tpfw_station_day(value text) RETURNS date LANGUAGE plpgsql IMMUTABLE AS $$
BEGIN
    RETURN value::timestamp::date;
EXCEPTION WHEN others THEN
    RETURN NULL;
END $$;

-- First-pass yield: of the panels (by serial) run at a station on a day,
-- those whose first run there that day ended OK, by the TP size of that
-- first run. As the station counts its day: a press refused before anything
-- started, or a run that sent no image, is no run.
CREATE OR REPLACE VIEW tpfw_first_pass AS
SELECT day, station, tp_size, count(*) AS panels, count(*) FILTER (WHERE outcome = 'ok') AS first_pass_ok,
       round(100.0 * count(*) FILTER (WHERE outcome = 'ok') / count(*), 1) AS first_pass_percent
FROM (SELECT DISTINCT ON (station, unit, tpfw_station_day(record->>'started'))
             tpfw_station_day(record->>'started') AS day, station, tp_size, outcome
      FROM tpfw_runs
      WHERE unit <> '' AND outcome IS NOT NULL AND outcome <> 'notStarted'
        AND NOT (outcome IN ('ok', 'failed') AND coalesce(record->'images', '[]') = '[]')
      ORDER BY station, unit, tpfw_station_day(record->>'started'), started) AS first_runs
WHERE day IS NOT NULL
GROUP BY day, station, tp_size;

-- The roles, made once; run again, the ingest password is the one given.
SELECT set_config('tpfw.ingest_password', :'ingest_password', false) AS ignored \gset
DO $$
BEGIN
    IF EXISTS (SELECT FROM pg_roles WHERE rolname = 'tpfw_ingest') THEN
        EXECUTE format('ALTER ROLE tpfw_ingest LOGIN PASSWORD %L', current_setting('tpfw.ingest_password'));
    ELSE
        EXECUTE format('CREATE ROLE tpfw_ingest LOGIN PASSWORD %L', current_setting('tpfw.ingest_password'));
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tpfw_reader') THEN
        CREATE ROLE tpfw_reader NOLOGIN;
    END IF;
END $$;
GRANT INSERT ON tpfw_arrivals, tpfw_runs, tpfw_lines TO tpfw_ingest;
GRANT SELECT ON tpfw_runs, tpfw_lines, tpfw_first_pass, tpfw_chain_breaks TO tpfw_reader;
REVOKE UPDATE, DELETE, TRUNCATE ON tpfw_runs, tpfw_lines FROM PUBLIC, tpfw_ingest, tpfw_reader;
