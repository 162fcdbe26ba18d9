-- Roles for a CorvexZR test library shared on a PostgreSQL server.
--
-- corvexzr_technician  may read the library and add tests, and change or delete none.
-- corvexzr_auditor     may only read it.
--
-- The program itself never changes or deletes a stored test. Run this file as the database's owner,
-- once the program has created its tables (open the Test Library window, or run
-- `zrqtool library --db ADDRESS list`, with the owner's account), and again after an upgrade of the
-- program that changed the library's layout:
--
--   psql -d DBNAME -v ON_ERROR_STOP=1 -f postgresql-roles.sql
--
-- then give the roles to the accounts (each bench may share one):
--
--   CREATE ROLE bench LOGIN PASSWORD '...' IN ROLE corvexzr_technician;
--   CREATE ROLE audit LOGIN PASSWORD '...' IN ROLE corvexzr_auditor;

DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'corvexzr_technician') THEN
        CREATE ROLE corvexzr_technician NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'corvexzr_auditor') THEN
        CREATE ROLE corvexzr_auditor NOLOGIN;
    END IF;
    EXECUTE format('GRANT CONNECT ON DATABASE %I TO corvexzr_technician, corvexzr_auditor', current_database());
END
$$;

GRANT USAGE ON SCHEMA public TO corvexzr_technician, corvexzr_auditor;
GRANT SELECT ON library_info, tests, test_loads, devices TO corvexzr_technician, corvexzr_auditor;
-- Adding a test: its row, its loads, and the number the database gives it.
GRANT INSERT ON tests, test_loads TO corvexzr_technician;
GRANT USAGE ON SEQUENCE tests_id_seq TO corvexzr_technician;
-- The devices table is the index of each device's newest test, kept by every test added, and holds
-- each device's own test interval: technicians write it; it holds no test.
GRANT INSERT, UPDATE ON devices TO corvexzr_technician;
-- Nothing else: no UPDATE, DELETE or TRUNCATE of a test for either role.
REVOKE UPDATE, DELETE, TRUNCATE ON library_info, tests, test_loads FROM corvexzr_technician, corvexzr_auditor;
REVOKE DELETE, TRUNCATE ON devices FROM corvexzr_technician, corvexzr_auditor;
