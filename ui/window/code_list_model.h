// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

namespace velmo {

// The entries of a code list, oldest first, at most `capacity` of them.
//
// A full list takes a new entry by dropping its oldest in the same change:
// every row then shows the entry that was below it. A view repaints that
// as changed data, where a row removed and a row added would make it lay
// out all of its thousands of rows again, at every entry of a long scan.
class CodeListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CodeListModel(int capacity, QObject* parent = nullptr);

    // Adds the newest entry; a full list drops its oldest for it.
    void Append(const QString& entry);
    void RemoveOldest();

    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(ring_.size()); }
    QString Entry(int row) const;

    // A list view laying its rows out asks for every row's index, twice; the
    // general one asks the model's row and column counts each time.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A full list dropped its oldest entry: each row moved up one.
    void EntriesShifted();
    // `entry` is the list's newest entry now.
    void EntryAdded(const QString& entry);

private:
    std::size_t Slot(int row) const;

    std::vector<QString> ring_;
    std::size_t oldest_ = 0;  // the slot of row 0
    int count_ = 0;
};

}  // namespace velmo
