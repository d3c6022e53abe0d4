// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "code_list_model.h"

#include <stdexcept>

namespace velmo {

CodeListModel::CodeListModel(int capacity, QObject* parent) : QAbstractListModel(parent) {
    if (capacity < 1) throw std::invalid_argument("a code list holds at least one entry");
    ring_.resize(static_cast<std::size_t>(capacity));
}

std::size_t CodeListModel::Slot(int row) const { return (oldest_ + static_cast<std::size_t>(row)) % ring_.size(); }

void CodeListModel::Append(const QString& entry) {
    if (count_ < Capacity()) {
        beginInsertRows({}, count_, count_);
        ring_[Slot(count_)] = entry;
        ++count_;
        endInsertRows();
    } else {
        // The oldest entry's slot becomes the newest's.
        ring_[oldest_] = entry;
        oldest_ = (oldest_ + 1) % ring_.size();
        emit dataChanged(index(0), index(count_ - 1), {Qt::DisplayRole});
        emit EntriesShifted();
    }
    emit EntryAdded(entry);
}

void CodeListModel::RemoveOldest() {
    if (count_ == 0) return;
    beginRemoveRows({}, 0, 0);
    ring_[oldest_].clear();
    oldest_ = (oldest_ + 1) % ring_.size();
    --count_;
    endRemoveRows();
}

QString CodeListModel::Entry(int row) const {
    if (row < 0 || row >= count_) return {};
    return ring_[Slot(row)];
}

QModelIndex CodeListModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || row >= count_ || column != 0 || parent.isValid()) return {};
    return createIndex(row, 0);
}

int CodeListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

QVariant CodeListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count_) return {};
    return ring_[Slot(index.row())];
}

Qt::ItemFlags CodeListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

}  // namespace velmo
