-- The base tables of the library database shipped as Resources/brushes.db.
-- The program adds its own tables (the generic kinds, favourites members, store info)
-- when it opens the file. Rows of the shipped tables (thumbnails, the maker's
-- categories) come with an installation; the template holds none.

-- Column order matters: one statement inserts by position. "Spare" is never read.
CREATE TABLE "Brushes" (
  "Name" TEXT NOT NULL UNIQUE,
  "Path" TEXT,
  "Description" TEXT,
  "Author" TEXT,
  "Link" TEXT,
  "Tags" TEXT,
  "Category" TEXT DEFAULT 'All',
  "KIV_Category" TEXT,
  "ReadOnly" INTEGER NOT NULL DEFAULT 0,
  "Spare" TEXT,
  "Type" TEXT,
  "ScanDate" TEXT,
  PRIMARY KEY("Name")
);

CREATE TABLE "Alphas" (
  "Name" TEXT NOT NULL UNIQUE,
  "Path" TEXT,
  "Description" TEXT,
  "Tags" TEXT,
  "Category" TEXT DEFAULT 'All',
  "ReadOnly" INTEGER NOT NULL DEFAULT 0,
  "ScanDate" TEXT,
  "Ignore" INTEGER NOT NULL DEFAULT 0,
  "Width" INTEGER NOT NULL DEFAULT 0,
  "Height" INTEGER NOT NULL DEFAULT 0,
  "Depth" INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY("Name")
);

-- No key: the catalogue checks its own list before adding a category.
CREATE TABLE "Categories" ("Name" TEXT NOT NULL);
CREATE TABLE "AlphaCategories" ("Name" TEXT NOT NULL);

CREATE TABLE "BrushFolders" ("Path" TEXT UNIQUE);
CREATE TABLE "AlphaFolders" ("Path" TEXT UNIQUE);

-- One row per set, keyed by name: re-inserting a set with a new order or colour
-- replaces its row.
CREATE TABLE "FavoriteSets" (
  "SetOrder" INTEGER NOT NULL DEFAULT 0,
  "Name" TEXT NOT NULL UNIQUE,
  "Color" TEXT,
  "ReadOnly" INTEGER NOT NULL DEFAULT 0
);

-- Values are written as text; no declared type keeps them as written.
CREATE TABLE "Settings" (
  "Name" TEXT NOT NULL UNIQUE,
  "Value",
  PRIMARY KEY("Name")
);

-- Brush thumbnails as PNG bytes.
CREATE TABLE "Icons" (
  "Brush" TEXT NOT NULL UNIQUE,
  "Image" BLOB
);

CREATE TABLE "KIV_Categories" (
  "Name" TEXT,
  "Group" TEXT
);
